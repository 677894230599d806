; Per-user installer for Quorlin: no elevation, installs to the user's own program
; folder, a Start-menu shortcut that starts the program in %APPDATA%\Quorlin, and an
; uninstaller registered for this user that leaves the user's files there alone.
;
;   makensis -DVERSION=1.0 -DVERSION_QUAD=1.0.0.0 -DSTAGE=<installed tree> -DOUTFILE=<setup.exe> quorlin.nsi
;
; STAGE holds the files the zip holds (cmake --install of the Windows build).

!ifndef VERSION | VERSION_QUAD | STAGE | OUTFILE
  !error "define VERSION, VERSION_QUAD, STAGE and OUTFILE"
!endif

Unicode true
; A 64-bit installer: the program is 64-bit, and a 64-bit Wine without its 32-bit
; half cannot start a 32-bit one.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "Quorlin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlin"
!define SHORTCUT "$SMPROGRAMS\Quorlin.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quorlin"
; A later install goes where the first one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "The Quorlin developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "The Quorlin developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Quorlin"
  SetOutPath "$INSTDIR"
  File "${STAGE}/quorlin.exe"
  File "${STAGE}/quorlin-demo.exe"
  File "${STAGE}/quorlinctl.exe"
  ; The defaults the first start copies into %APPDATA%\Quorlin.
  File "${STAGE}/Language.ini"
  File "${STAGE}/red.she"
  File "${STAGE}/README.txt"
  File "${STAGE}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The program's own folder is shared by every start; the user's settings live in
  ; %APPDATA%\Quorlin, where --user-folder takes the program.
  CreateShortcut "${SHORTCUT}" "$INSTDIR\quorlin.exe" "--user-folder" "$INSTDIR\quorlin.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Quorlin developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorlin.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put down, by name: %APPDATA%\Quorlin (the user's language
; choice and skin) stays, and so does anything the user added to the program folder.
Section "Uninstall"
  ; The entry points go first, so that no shortcut or Apps entry outlives the files.
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\quorlin.exe"
  Delete "$INSTDIR\quorlin-demo.exe"
  Delete "$INSTDIR\quorlinctl.exe"
  Delete "$INSTDIR\Language.ini"
  Delete "$INSTDIR\red.she"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
