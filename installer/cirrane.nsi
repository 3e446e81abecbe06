; Installer of Cirrane Screensaver, made by scripts/package.sh:
;   makensis -DBUILD=<64-bit build dir> -DDIST=<output dir> -DROOT=<source dir> cirrane.nsi
; It packs DIST/x64/cirrane.scr and DIST/x86/cirrane.scr and writes
; DIST/cirrane-<version>-setup.exe; the version comes from the build (cirrane_version.nsh).
; It copies the .scr that suits the machine (the 64-bit one on 64-bit Windows, the 32-bit
; one otherwise) into the system folder, where the desktop's list of screensavers finds it,
; makes it the current user's screensaver, and registers an uninstaller in the list of
; installed programs. "/S" installs silently. The uninstaller takes "/S" and
; "/REMOVESETTINGS", which also deletes the user's settings (otherwise they are kept).
;
; Setup and the uninstaller each run in two parts, two runs of the same program:
; - the user's part, started without "/MACHINE": the wizard, run as the user who started it
;   and never elevated. It runs the machine part and waits for it, then selects the
;   screensaver (or removes the selection and the settings) in this user's own hive and
;   opens the settings as this user.
; - the machine part, "/S /MACHINE": silent and elevated; the .scr, the uninstaller and its
;   entry in the list of installed programs. It writes nothing under HKCU: a standard user
;   elevates with an administrator's name and password, and the elevated part's HKCU is then
;   the administrator's hive. Alone it installs or removes the screensaver for the machine
;   without selecting it for anyone, as a deployment tool running as SYSTEM wants.
;
; The installer itself is a 32-bit program. On 64-bit Windows its view of the system
; folder is redirected to SysWOW64, so every use of the .scr's path switches the
; redirection off around it (per thread, and only briefly: the installer's own DLLs must
; still load from SysWOW64), and its registry view is the 64-bit one.

Unicode true
!include "${BUILD}/cirrane_version.nsh"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include x64.nsh

!define PRODUCT       "Cirrane Screensaver"
!define PUBLISHER     "Orvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Cirrane"
!define DESKTOP_KEY   "Control Panel\Desktop"
!define SETTINGS_KEY  "Software\Orvane\Cirrane"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SAVE_AND_TELL 3       ; SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
!define SEE_MASK_NOCLOSEPROCESS 0x40
!if ${NSIS_PTR_SIZE} > 4
  !define SEI_PAD "i,"   ; a 64-bit build: SHELLEXECUTEINFO pads nShow and dwHotKey
!else
  !define SEI_PAD ""
!endif
!define ERROR_ACCESS_DENIED 5

; Both programs must carry this installer's version: a stale build is not packaged.
!getdllversion "${DIST}/x64/cirrane.scr" scr64_
!getdllversion "${DIST}/x86/cirrane.scr" scr32_
!if "${scr64_1}.${scr64_2}.${scr64_3}" != "${VERSION}"
  !error "the 64-bit cirrane.scr is version ${scr64_1}.${scr64_2}.${scr64_3}, not ${VERSION}"
!endif
!if "${scr32_1}.${scr32_2}.${scr32_3}" != "${VERSION}"
  !error "the 32-bit cirrane.scr is version ${scr32_1}.${scr32_2}.${scr32_3}, not ${VERSION}"
!endif

Name "${PRODUCT}"
OutFile "${DIST}/cirrane-${VERSION}-setup.exe"
InstallDir "$PROGRAMFILES64\Cirrane"   ; the uninstaller's home; $PROGRAMFILES on 32-bit Windows
; The user's part runs as whoever started it; the machine part asks for elevation itself.
RequestExecutionLevel user
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "${PRODUCT} ${VERSION}"
SpaceTexts none

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName     "${PRODUCT}"
VIAddVersionKey CompanyName     "${PUBLISHER}"
VIAddVersionKey FileDescription "${PRODUCT} Setup"
VIAddVersionKey FileVersion     "${VERSION}"
VIAddVersionKey ProductVersion  "${VERSION}"
VIAddVersionKey LegalCopyright  "Copyright (C) 2026 ${PUBLISHER}"

Var scr           ; full path of the installed .scr
Var native64      ; 1 on 64-bit Windows
Var machinePart   ; 1 in the machine part ("/MACHINE"), 0 in the user's part

; ---- Wizard -----------------------------------------------------------------------------

!define MUI_ICON   "${BUILD}/art/cirrane.ico"
!define MUI_UNICON "${BUILD}/art/cirrane.ico"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION} and make it your \
  screensaver.$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the screensaver's settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenSettings
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${ROOT}/LICENSE"
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "The screensaver is removed. Your settings (scene, \
  display modes) are kept for a later install unless you tick the box."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---- Shared steps -------------------------------------------------------------------------

; The system folder as the desktop sees it: redirection off on 64-bit Windows. Every
; NativeSystemFolder is followed by RedirectedSystemFolder on the same thread.
!macro NativeSystemFolder
  ${If} $native64 = 1
    ${DisableX64FSRedirection}
  ${EndIf}
!macroend
!macro RedirectedSystemFolder
  ${If} $native64 = 1
    ${EnableX64FSRedirection}
  ${EndIf}
!macroend

; First step of both .onInit functions: the machine, the registry view, the .scr's path and
; the part this run plays. The machine part never shows a window: its user is the wizard.
!macro KnowTheMachine
  StrCpy $native64 0
  ${If} ${RunningX64}
    StrCpy $native64 1
    SetRegView 64
  ${EndIf}
  StrCpy $scr "$SYSDIR\cirrane.scr"
  StrCpy $machinePart 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/MACHINE" $1
  ${IfNot} ${Errors}
    StrCpy $machinePart 1
    SetSilent silent
  ${EndIf}
!macroend

; <prefix>RunMachinePart: runs this program's machine part ("/S /MACHINE", then the string
; on the stack) and waits for it; $0 is its exit code, or the error of a start that failed
; (ERROR_CANCELLED, 1223, when the user declined the elevation prompt); it uses $0 to $5.
; An administrator's run (elevated, or Windows XP's administrator) starts it as it is;
; anyone else's asks for an administrator through the "runas" verb: the consent or
; credentials prompt of Windows Vista and later, the Run As dialog of Windows XP. The
; program is copied into the plug-ins folder first, as the elevated part may not see where
; the user's part runs from (a drive mapped in the user's logon session).
!macro RunMachinePartFunction un
Function ${un}RunMachinePart
  Pop $1
  InitPluginsDir
  SetDetailsPrint none
  CopyFiles /SILENT "$EXEPATH" "$PLUGINSDIR\part.exe"
  SetDetailsPrint lastused
  StrCpy $2 "runas"
  UserInfo::GetAccountType
  Pop $3
  ${If} $3 == "Admin"
    StrCpy $2 "open"
  ${EndIf}
  System::Call '*(&l4, i ${SEE_MASK_NOCLOSEPROCESS}, p $HWNDPARENT, w r2, \
    w "$PLUGINSDIR\part.exe", w "/S /MACHINE $1", p 0, i ${SW_SHOWNORMAL}, \
    ${SEI_PAD} p, p, p, p, i, ${SEI_PAD} p, p) p .r4'
  System::Call 'shell32::ShellExecuteExW(p r4) i .r5 ?e'
  Pop $0
  ${If} $5 <> 0
    System::Call '*$4(i, i, p, p, p, p, p, i, ${SEI_PAD} p, p, p, p, i, ${SEI_PAD} p, p .r5)'
    System::Call 'kernel32::WaitForSingleObject(p r5, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r5, *i .r0)'
    System::Call 'kernel32::CloseHandle(p r5)'
  ${ElseIf} $0 = 0
    StrCpy $0 1   ; a failed start is never taken for success
  ${EndIf}
  System::Free $4
FunctionEnd
!macroend
!insertmacro RunMachinePartFunction ""
!insertmacro RunMachinePartFunction "un."

; ---- Install ------------------------------------------------------------------------------

; The machine part refuses before anything is written when the .scr cannot be written: an
; account without the rights to the system folder, or a .scr that is in use. The probe
; opens the file for appending, which changes nothing, and removes it again if it did not
; exist.
Function .onInit
  !insertmacro KnowTheMachine
  ${If} $machinePart = 1
    Call RefuseWhenScrUnwritable
  ${EndIf}
FunctionEnd

Function RefuseWhenScrUnwritable
  !insertmacro NativeSystemFolder
  StrCpy $1 0
  ${IfNot} ${FileExists} $scr
    StrCpy $1 1
  ${EndIf}
  ClearErrors
  FileOpen $0 $scr a
  ${If} ${Errors}
    !insertmacro RedirectedSystemFolder
    SetErrorLevel ${ERROR_ACCESS_DENIED}
    Quit
  ${EndIf}
  FileClose $0
  ${If} $1 = 1
    Delete $scr
  ${EndIf}
  !insertmacro RedirectedSystemFolder
FunctionEnd

Section "-Install"
  ${If} $machinePart = 1
    Call InstallForTheMachine
  ${Else}
    Push "/D=$INSTDIR"
    Call RunMachinePart
    ${If} $0 <> 0
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} cannot be installed (error $0): writing \
        $scr needs an administrator.$\r$\n$\r$\nClose the screen saver settings if they \
        are open, and run the setup again." /SD IDOK
      SetErrorLevel $0
      Abort
    ${EndIf}
    Call SelectForTheUser
  ${EndIf}
SectionEnd

; The .scr first: if it cannot be written after all, nothing else has been.
Function InstallForTheMachine
  !insertmacro NativeSystemFolder
  ${If} $native64 = 1
    File "/oname=$scr" "${DIST}/x64/cirrane.scr"
  ${Else}
    File "/oname=$scr" "${DIST}/x86/cirrane.scr"
  ${EndIf}
  ${GetSize} "$SYSDIR" "/M=cirrane.scr /S=0K /G=0" $1 $2 $3
  !insertmacro RedirectedSystemFolder

  SetOutPath $INSTDIR
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $2 $3 $4
  IntOp $1 $1 + $2
  WriteRegStr   HKLM "${UNINSTALL_KEY}" "DisplayName"          "${PRODUCT}"
  WriteRegStr   HKLM "${UNINSTALL_KEY}" "DisplayVersion"       "${VERSION}"
  WriteRegStr   HKLM "${UNINSTALL_KEY}" "Publisher"            "${PUBLISHER}"
  WriteRegStr   HKLM "${UNINSTALL_KEY}" "DisplayIcon"          "$scr,0"
  WriteRegStr   HKLM "${UNINSTALL_KEY}" "InstallLocation"      "$INSTDIR"
  WriteRegStr   HKLM "${UNINSTALL_KEY}" "UninstallString"      '"$INSTDIR\uninstall.exe"'
  WriteRegStr   HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize"        $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify"             1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair"             1
FunctionEnd

; The desktop keeps the screensaver as its short path.
Function SelectForTheUser
  !insertmacro NativeSystemFolder
  GetFullPathName /SHORT $0 $scr
  !insertmacro RedirectedSystemFolder
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; Tells the running session at once, not at the next logon.
  System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SAVE_AND_TELL})"
FunctionEnd

Function OpenSettings
  !insertmacro NativeSystemFolder
  Exec '"$scr" /c'
  !insertmacro RedirectedSystemFolder
FunctionEnd

; ---- Uninstall ----------------------------------------------------------------------------

; The user's part: the machine part first, so that a declined elevation changes nothing;
; then the screensaver selection, only while it still named this screensaver (as the
; desktop's "(None)" would leave it), and the settings if asked for, in the next section.
Section "-un.Uninstall"
  ${If} $machinePart = 1
    Call un.RemoveFromTheMachine
  ${Else}
    ReadRegStr $6 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    !insertmacro NativeSystemFolder
    GetFullPathName /SHORT $6 $6
    GetFullPathName /SHORT $7 $scr
    !insertmacro RedirectedSystemFolder
    Push "_?=$INSTDIR"
    Call un.RunMachinePart
    ${If} $0 <> 0
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} cannot be removed (error $0): removing \
        $scr needs an administrator." /SD IDOK
      SetErrorLevel $0
      Abort
    ${EndIf}
    ${If} $6 != ""
    ${AndIf} $6 == $7
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_SAVE_AND_TELL})"
    ${EndIf}
  ${EndIf}
SectionEnd

Section /o "un.Remove my settings" UnRemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Orvane"
SectionEnd

; The uninstall entry and the folder go last. An entry that stays means this account may
; not change the machine: the user's part then keeps the user's selection.
Function un.RemoveFromTheMachine
  !insertmacro NativeSystemFolder
  Delete /REBOOTOK $scr
  !insertmacro RedirectedSystemFolder
  Delete "$INSTDIR\uninstall.exe"
  ClearErrors
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} ${Errors}
    SetErrorLevel ${ERROR_ACCESS_DENIED}
  ${EndIf}
  RMDir $INSTDIR
FunctionEnd

; After the sections, whose indexes it uses. The settings are the user's: the machine part
; leaves them whatever it is told.
Function un.onInit
  !insertmacro KnowTheMachine
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
  ${AndIf} $machinePart = 0
    SectionSetFlags ${UnRemoveSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
