; Corvello's installer: for the current user only, into the user's own
; programs folder, without elevation. Silent with /S, and so is the
; uninstaller.
;
; The build passes what it knows (installer/CMakeLists.txt):
;   NAME MAKER VERSION COPYRIGHT EXE_NAME   the product, from src/core/Product.h
;   EXE_PATH ICON OUTFILE                   the built program, its icon, the result

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"
; The program's start-with-Windows entry, a value named after its file.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where the program keeps its settings (it removes its own key below this one).
!define SETTINGS_PARENT "Software\${MAKER}"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${NAME}.lnk"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=0 "FileDescription" "${NAME} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_TITLE "${NAME} is installed"
!define MUI_FINISHPAGE_TEXT "${NAME} is running: its icon is in the notification area of the task bar. It starts with Windows; the setting is in its window."

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A copy that has just let its instance go may still be ending, and Windows
; keeps its file locked until it has: wait until the file can be written
; (5 s at most; the copy itself fails loudly after that).
!macro WaitUntilWritable FILE
  StrCpy $R0 0
  ${DoWhile} ${FileExists} "${FILE}"
    ClearErrors
    FileOpen $R1 "${FILE}" a
    ${IfNot} ${Errors}
      FileClose $R1
      ${Break}
    ${EndIf}
    IntOp $R0 $R0 + 1
    ${If} $R0 >= 50
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}
!macroend

; Ends the running copy with the program's own word before anything is
; changed. A copy that does not end (it hangs) stops the setup with nothing
; done: asked, the user may close it and try again; silent, the setup ends
; with exit code 2.
!macro EndRunningCopy WORD WHAT
  ${If} ${FileExists} "$INSTDIR\${EXE_NAME}"
    DetailPrint "Asking the running ${NAME} to end"
    ${Do}
      ClearErrors
      ExecWait '"$INSTDIR\${EXE_NAME}" ${WORD}' $0
      ${IfNot} ${Errors}
      ${AndIf} $0 == 0
        ; Ended, or answered so: its file must also come free (a copy of an
        ; older build answers 0 and may still hang).
        !insertmacro WaitUntilWritable "$INSTDIR\${EXE_NAME}"
        ClearErrors
        FileOpen $R1 "$INSTDIR\${EXE_NAME}" a
        ${IfNot} ${Errors}
          FileClose $R1
          ${Break}
        ${EndIf}
      ${EndIf}
      ${If} ${Silent}
        SetErrorLevel 2
        Quit
      ${EndIf}
      ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${NAME} is running and does not answer, so it cannot be ${WHAT}.$\r$\n$\r$\nEnd it (in Task Manager, if need be), then choose Retry. Nothing has been changed." /SD IDCANCEL IDRETRY`
        SetErrorLevel 1
        Quit
      ${EndIf}
    ${Loop}
  ${EndIf}
!macroend

Section "${NAME}"
  SetOutPath "$INSTDIR"

  ; An upgrade: the running copy ends first, so its file is free.
  !insertmacro EndRunningCopy stop replaced

  File "/oname=${EXE_NAME}" "${EXE_PATH}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE_NAME}" "" "$INSTDIR\${EXE_NAME}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE_NAME},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; The program's install word ends any other running copy, then runs.
  Exec '"$INSTDIR\${EXE_NAME}" -install'
SectionEnd

Section "Uninstall"
  ; The program's uninstall word ends a running copy and removes the
  ; settings; the start-with-Windows entry it leaves to us.
  !insertmacro EndRunningCopy -uninstall removed

  Delete "$INSTDIR\${EXE_NAME}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: the folder may be one the user chose and shares.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"

  DeleteRegValue HKCU "${RUN_KEY}" "${EXE_NAME}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}\${NAME}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; The uninstaller runs from a copy of itself in the temporary folder, which
; Windows keeps until that copy has ended: a hidden command prompt removes it
; then (trying each second, for half a minute at most). Only that file, and
; its folder when nothing else is in it.
Function un.onUninstSuccess
  ${If} $EXEDIR != $INSTDIR
    ; The prompt starts in the current folder, which must not be that one.
    SetOutPath "$TEMP"
    ExecShell "" "$SYSDIR\cmd.exe" '/d /q /c for /l %i in (1,1,30) do @(ping -n 2 127.0.0.1 >nul & del /f /q "$EXEPATH" 2>nul & if not exist "$EXEPATH" (rd "$EXEDIR" 2>nul & exit))' SW_HIDE
  ${EndIf}
FunctionEnd
