; The Windows installer: the program folder that scripts/package-windows
; stages, put into Program Files, with a Start menu entry and an uninstaller.
;   makensis -DVERSION=1.0.0 -DSTAGE=folder -DOUTFILE=setup.exe logweave.nsi
; Program Files is not the user's to write into, so the program works in the
; user's data folder, as after the Debian package's install.
; A 64-bit installer, as the program is: Wine without its 32-bit part runs it too.
Target amd64-unicode
SetCompressor /SOLID lzma

Name "Logweave ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Logweave"
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Logweave"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  ; A 64-bit program: its registry entries and Program Files are the 64-bit ones.
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Logweave.lnk" "$INSTDIR\logweave.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Logweave"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there: the folder may have been one of the user's.
Section "Uninstall"
  Delete "$SMPROGRAMS\Logweave.lnk"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\translations"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\logweave.exe"
  Delete "$INSTDIR\logweave-cli.exe"
  Delete "$INSTDIR\Logweave.chm"
  Delete "$INSTDIR\AdifCodes_Liste.txt"
  Delete "$INSTDIR\AdifCodes_Liste_WSJT-X.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
