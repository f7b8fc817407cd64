; The installer: Retrove.exe and its guide under Program Files, a Start-menu
; shortcut for every user and an entry in Add/Remove Programs. The NetWare
; client is the workstation's own: the installer looks for it and says so
; when it is missing, but never installs or replaces its modules.
;   makensis -DVERSION=1.0 -DVERSION_NUMBERS=1.0.0.0 -DSTAGE=DIR -DICON=FILE
;            -DOUTFILE=FILE Retrove.nsi
; STAGE holds Retrove.exe and USER-GUIDE.txt.

Unicode true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Retrove"
!define SETTINGS_KEY "Software\Vantorel\Retrove"

Name "Retrove"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Retrove"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Retrove.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\USER-GUIDE.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the user guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Retrove"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Vantorel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Retrove Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Vantorel"

; Adds NAME to the list in $0 when the workstation cannot load it.
!macro LookForClientModule NAME
  SearchPath $1 "${NAME}"
  ${If} $1 == ""
    ${If} $0 != ""
      StrCpy $0 "$0, "
    ${EndIf}
    StrCpy $0 "$0${NAME}"
  ${EndIf}
!macroend

; Retrove lists nothing without the client's calls and connection modules.
; An administrator may install the client afterwards, so the choice is the
; user's; a silent install goes on.
Function .onInit
  SetShellVarContext all
  StrCpy $0 ""
  !insertmacro LookForClientModule "CALWIN32.DLL"
  !insertmacro LookForClientModule "CLXWIN32.DLL"
  ${If} $0 != ""
    MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION \
      "Retrove needs the workstation's NetWare client, which is not installed on this computer ($0 not found).$\r$\n$\r$\nRetrove can be installed now, but it lists deleted files only once the NetWare client is installed. Choose OK to install Retrove anyway, or Cancel to stop." \
      /SD IDOK IDOK +2
    Abort
  ${EndIf}
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${STAGE}/Retrove.exe"
  File "${STAGE}/USER-GUIDE.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Retrove.lnk" "$INSTDIR\Retrove.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Retrove"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vantorel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Retrove.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; Only what the installer put there goes: a file someone added to the
; folder keeps it, and the folder with it.
Section Uninstall
  retry:
  ClearErrors
  Delete "$INSTDIR\Retrove.exe"
  ${If} ${Errors}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Retrove.exe could not be removed: Retrove may still be running. Close it, then choose Retry." \
      /SD IDCANCEL IDRETRY retry
    Abort "Retrove.exe could not be removed; nothing was uninstalled."
  ${EndIf}
  Delete "$INSTDIR\USER-GUIDE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Retrove.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION \
    "Remove your Retrove settings too (the window's place and size, the view and the bars shown)?" \
    /SD IDNO IDNO keep_settings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Vantorel"
  keep_settings:
SectionEnd
