; The Quillon setup program. It installs for the current user, without an administrator
; prompt, into %LOCALAPPDATA%\Programs\Quillon: a folder the user can write, so the program can
; write Orbfix.log beside itself. /S installs and uninstalls silently.
;
; scripts/package-windows runs makensis with these defines:
;   PACKAGE        the version, publisher and icon, written by CMake
;   STAGE          the program folder to pack, as CMake installed it
;   REMOVE_FILES   the uninstaller's Delete and RMDir lines for exactly the staged files
;   OUTFILE        the setup program to write
; A 64-bit setup program for a 64-bit program: Windows itself refuses both on a 32-bit system.
Target amd64-unicode
SetCompressor /SOLID lzma
!include "${PACKAGE}"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon"

Name "Quillon ${QUILLON_VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quillon"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
; A file that cannot be written (a quillon.exe still running) stops the setup rather than
; leaving an old program beside new data.
AllowSkipFiles off

VIProductVersion "${QUILLON_VERSION_QUAD}"
VIAddVersionKey "ProductName" "Quillon"
VIAddVersionKey "CompanyName" "${QUILLON_PUBLISHER}"
VIAddVersionKey "FileDescription" "Quillon ${QUILLON_VERSION} setup"
VIAddVersionKey "FileVersion" "${QUILLON_VERSION}"
VIAddVersionKey "ProductVersion" "${QUILLON_VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright ${QUILLON_PUBLISHER}"

!define MUI_ICON "${QUILLON_ICON}"
!define MUI_UNICON "${QUILLON_ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Quillon"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut's "Start in" is the current output folder: the program reads Orbfix.dat
  ; from the folder it is started in.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Quillon.lnk" "$INSTDIR\quillon.exe" "" "$INSTDIR\quillon.exe" 0

  ; The entry in "Apps & features".
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quillon"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${QUILLON_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${QUILLON_PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  ; A running program cannot be removed: stop before anything is gone.
  ClearErrors
  Delete "$INSTDIR\quillon.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Quillon is still running. Close it, then remove it again." /SD IDOK
    Abort
  ${EndIf}
  !include "${REMOVE_FILES}"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Quillon.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; Orbfix.log stays: support may still ask for it. The folder goes only when it is empty.
  RMDir "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\Orbfix.log"
    DetailPrint "Kept $INSTDIR\Orbfix.log"
    MessageBox MB_OK|MB_ICONINFORMATION "Quillon has been removed.$\r$\n$\r$\nIts log, Orbfix.log, was kept in $INSTDIR in case ${QUILLON_PUBLISHER} support asks for it. You may delete it yourself." /SD IDOK
  ${EndIf}
SectionEnd
