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
RequestExecutionLevel admin
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

Var scr        ; full path of the installed .scr
Var native64   ; 1 on 64-bit Windows

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

; First step of both .onInit functions: the machine, the registry view, the .scr's path.
!macro KnowTheMachine
  StrCpy $native64 0
  ${If} ${RunningX64}
    StrCpy $native64 1
    SetRegView 64
  ${EndIf}
  StrCpy $scr "$SYSDIR\cirrane.scr"
!macroend

; ---- Install ------------------------------------------------------------------------------

; Refuses before anything is written when the .scr cannot be written: an account without
; the rights to the system folder, or a .scr that is in use. The probe opens the file for
; appending, which changes nothing, and removes it again if it did not exist.
Function .onInit
  !insertmacro KnowTheMachine
  !insertmacro NativeSystemFolder
  StrCpy $1 0
  ${IfNot} ${FileExists} $scr
    StrCpy $1 1
  ${EndIf}
  ClearErrors
  FileOpen $0 $scr a
  ${If} ${Errors}
    !insertmacro RedirectedSystemFolder
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} cannot be installed: this account may not \
      write $scr.$\r$\n$\r$\nRun the setup as an administrator, and close the screen saver \
      settings if they are open." /SD IDOK
    SetErrorLevel 5   ; ERROR_ACCESS_DENIED
    Quit
  ${EndIf}
  FileClose $0
  ${If} $1 = 1
    Delete $scr
  ${EndIf}
  !insertmacro RedirectedSystemFolder
FunctionEnd

; The .scr first: if it cannot be written after all, nothing else has been.
Section "-Install"
  !insertmacro NativeSystemFolder
  ${If} $native64 = 1
    File "/oname=$scr" "${DIST}/x64/cirrane.scr"
  ${Else}
    File "/oname=$scr" "${DIST}/x86/cirrane.scr"
  ${EndIf}
  ; The desktop keeps the screensaver as its short path.
  GetFullPathName /SHORT $0 $scr
  ${GetSize} "$SYSDIR" "/M=cirrane.scr /S=0K /G=0" $1 $2 $3
  !insertmacro RedirectedSystemFolder

  SetOutPath $INSTDIR
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; Tells the running session at once, not at the next logon.
  System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SAVE_AND_TELL})"

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
SectionEnd

Function OpenSettings
  !insertmacro NativeSystemFolder
  Exec '"$scr" /c'
  !insertmacro RedirectedSystemFolder
FunctionEnd

; ---- Uninstall ----------------------------------------------------------------------------

Section /o "un.Remove my settings" UnRemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Orvane"
SectionEnd

; The screensaver selection goes only while it still names this screensaver, as the
; desktop's "(None)" would leave it. The uninstall entry and the folder go last.
Section "-un.Uninstall"
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  !insertmacro NativeSystemFolder
  GetFullPathName /SHORT $1 $scr
  GetFullPathName /SHORT $2 $0
  Delete /REBOOTOK $scr
  !insertmacro RedirectedSystemFolder
  ${If} $2 != ""
  ${AndIf} $2 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_SAVE_AND_TELL})"
  ${EndIf}

  Delete "$INSTDIR\uninstall.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  RMDir $INSTDIR
SectionEnd

; After the sections, whose indexes it uses.
Function un.onInit
  !insertmacro KnowTheMachine
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${UnRemoveSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
