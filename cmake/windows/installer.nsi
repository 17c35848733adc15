; The Windows installer: the game in a folder of the player's own (no administrator), a
; Start-menu shortcut that starts it there, an entry in the installed programs and an
; uninstaller that removes exactly the files the installer wrote.
; makensis -DVERSION=<x.y.z> -DTARGET=<amd64-unicode|x86-unicode> -DFILES=<nsh>
;          -DREMOVE=<nsh> -DOUT_FILE=<exe> installer.nsi
; FILES holds the File lines of the game's folder, REMOVE the Delete and RMDir lines that
; undo them; the packaging script writes both from the install tree.

!define PRODUCT "Paddleball"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\paddleball"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Unicode true
Target ${TARGET}
Name "${PRODUCT}"
OutFile "${OUT_FILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\paddleball"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
; Installed files get the time of the install, not the build's, so the installer holds no
; time of its own making.
SetDateSave off
ManifestDPIAware true
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} installer"
VIAddVersionKey "LegalCopyright" "paddleball maintainers"

!include "MUI2.nsh"
!define MUI_FINISHPAGE_RUN "$INSTDIR\paddleball.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Install"
  SetShellVarContext current
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The game opens images\ and sounds\ relative to its working directory: the shortcut's
  ; working directory is the output path, the game's folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\paddleball.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "paddleball maintainers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\paddleball.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "${SHORTCUT}"
  !include "${REMOVE}"
  Delete "$INSTDIR\uninstall.exe"
  ; Only an empty folder goes: anything the player put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
