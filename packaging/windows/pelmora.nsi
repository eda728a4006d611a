; The Windows installer, Pelmora-Setup.exe, built by the Windows build's
; "installer" target with Debian's makensis (cmake/windows/Installer.cmake),
; which passes VERSION, OUTFILE, ICON, READINGS_EXE and, once the widget is
; built, WIDGET_EXE.
;
; For the current user (the default, no administrator rights) in
; %LOCALAPPDATA%\Programs\Pelmora, or for every user in Program Files. Silent
; use: /S, with /ALLUSERS, /AUTOSTART (start at sign-in), /D=FOLDER (last);
; the uninstaller takes /S and /PURGE (remove the user's settings as well).
Target amd64-unicode

!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!ifndef VERSION | OUTFILE | ICON | READINGS_EXE
  !error "makensis needs -DVERSION=, -DOUTFILE=, -DICON= and -DREADINGS_EXE= (the build passes them)"
!endif
; Until the widget is built, the companion command stands in for it as the
; program the shortcut and the sign-in start run.
!ifdef WIDGET_EXE
  !define MAIN_EXE "pelmora.exe"
!else
  !define MAIN_EXE "pelmora-readings.exe"
  !warning "pelmora.exe is not built: the installer holds pelmora-readings.exe alone"
!endif

!define PRODUCT "Pelmora"
!define PUBLISHER "Talvessa"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Talvessa"
!define WIDGET_WINDOW_CLASS "TVantelMainForm"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; Elevation only when the user chooses to install for everyone.
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright 2026 ${PUBLISHER}"

Var AllUsers         ; 1: for every user
Var FolderGiven      ; 1: /D= named the folder
Var ModeForMe
Var ModeForEveryone

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; --- Shared by the installer and the uninstaller ---

; A running widget holds its executable open: ask it to close (it saves its
; placement as on any close) and give its process five seconds to end. The
; window goes before the process does, so the wait is on the process.
!macro DEFINE_CLOSE_RUNNING_WIDGET PREFIX
Function ${PREFIX}CloseRunningWidget
  FindWindow $0 "${WIDGET_WINDOW_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
  ; SYNCHRONIZE
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
  SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
  ${If} $2 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i 5000)'
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING_WIDGET ""
!insertmacro DEFINE_CLOSE_RUNNING_WIDGET "un."

; The sign-in start is the user's Run value; only one naming this
; installation's program is ours to remove.
!macro REMOVE_OWN_RUN_VALUE
  ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == '"$INSTDIR\${MAIN_EXE}"'
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
!macroend

; Installing for every user needs an elevated process: a standard one asks
; for it by starting PROGRAM again with /ALLUSERS ("runas"); true in $0 when
; that start is under way and this process should end.
!macro DEFINE_RESTART_ELEVATED PREFIX PROGRAM
Function ${PREFIX}RestartElevated
  StrCpy $0 0
  UserInfo::GetAccountType
  Pop $1
  ${If} $1 == "Admin"
    Return
  ${EndIf}
  ${If} ${Silent}
    ; Nobody to ask: ERROR_ELEVATION_REQUIRED.
    SetErrorLevel 740
    StrCpy $0 1
    Return
  ${EndIf}
  ClearErrors
  ExecShell "runas" "${PROGRAM}" "/ALLUSERS"
  ${IfNot} ${Errors}
    StrCpy $0 1
  ${EndIf}
FunctionEnd
!macroend

; --- Installer ---

!insertmacro DEFINE_RESTART_ELEVATED "" "$EXEPATH"

Function ApplyMode
  ${If} $AllUsers == 1
    SetShellVarContext all
    StrCpy $0 "$PROGRAMFILES64\${PRODUCT}"
  ${Else}
    SetShellVarContext current
    StrCpy $0 "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${EndIf}
  ${If} $FolderGiven != 1
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Function ModePage
  ; Started again elevated for every user: the choice is made.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Choose users" "Install ${PRODUCT} for you alone or for everyone on this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 0 100% 12u "Only for &me (no administrator rights needed)"
  Pop $ModeForMe
  ${NSD_CreateRadioButton} 0 20u 100% 12u "For &everyone on this computer (needs administrator rights)"
  Pop $ModeForEveryone
  ${If} $AllUsers == 1
    ${NSD_Check} $ModeForEveryone
  ${Else}
    ${NSD_Check} $ModeForMe
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ModeForEveryone $1
  ${If} $1 == ${BST_CHECKED}
    Call RestartElevated
    ${If} $0 == 1
      Quit
    ${EndIf}
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
      MessageBox MB_ICONEXCLAMATION|MB_OK "Installing for everyone needs administrator rights."
      Abort
    ${EndIf}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call ApplyMode
FunctionEnd

Section "${PRODUCT}" SecMain
  SectionIn RO
  Call CloseRunningWidget
  SetOutPath "$INSTDIR"
!ifdef WIDGET_EXE
  File "${WIDGET_EXE}"
!endif
  File "${READINGS_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${MAIN_EXE}"

  ; Apps and features: per user in HKCU, for everyone in HKLM (SHCTX).
  ${If} $AllUsers == 1
    StrCpy $1 " /ALLUSERS"
  ${Else}
    StrCpy $1 ""
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${MAIN_EXE},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"$1'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe"$1 /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $2 $3
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start ${PRODUCT} when I sign in" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${MAIN_EXE}"'
SectionEnd

Section "-Sign-in start switched off"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    !insertmacro REMOVE_OWN_RUN_VALUE
  ${EndIf}
SectionEnd

; Section indexes exist only after their sections: the start-up function comes last.
Function .onInit
  StrCpy $FolderGiven 0
  ${If} $INSTDIR != ""
    StrCpy $FolderGiven 1
  ${EndIf}
  ${GetParameters} $R0
  StrCpy $AllUsers 0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    Call RestartElevated
    ${If} $0 == 1
      Abort
    ${EndIf}
  ${EndIf}
  Call ApplyMode
  ; The sign-in start stays as it is on a new install over an old one,
  ; unless the user switches it off.
  ReadRegStr $R2 HKCU "${RUN_KEY}" "${PRODUCT}"
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART" $R1
  ${IfNot} ${Errors}
  ${OrIf} $R2 == '"$INSTDIR\${MAIN_EXE}"'
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

; --- Uninstaller ---

; The uninstaller runs from a copy in the temporary folder: the one to start
; again is the installed one.
!insertmacro DEFINE_RESTART_ELEVATED "un." "$INSTDIR\uninstall.exe"

Section "un.${PRODUCT}" UnSecMain
  SectionIn RO
  Call un.CloseRunningWidget
  Delete "$INSTDIR\pelmora.exe"
  Delete "$INSTDIR\pelmora-readings.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  !insertmacro REMOVE_OWN_RUN_VALUE
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

; Only the values and the file the widget writes: the folder and the key are
; the maker's, and go only when nothing else is left in them.
Section /o "un.Remove my settings and window position" UnSecPurge
  DeleteRegValue HKCU "${SETTINGS_KEY}" "RefreshSpeed"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "NrDrives"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Drive1"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Drive2"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "NrNetwork"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Network1"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Network2"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  SetShellVarContext current
  Delete "$APPDATA\Talvessa\pelmora.INI"
  RMDir "$APPDATA\Talvessa"
SectionEnd

Function un.onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    Call un.RestartElevated
    ${If} $0 == 1
      Abort
    ${EndIf}
    SetShellVarContext all
  ${Else}
    StrCpy $AllUsers 0
    SetShellVarContext current
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/PURGE" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecPurge}
  ${EndIf}
FunctionEnd
