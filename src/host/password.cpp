// Windows 9x password steps.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "host/saver.h"

void Saver::SetUpPasswordProvider() {}
void Saver::VerifyPasswordAndResume() {}
void Saver::ChangePasswordNow() {}
