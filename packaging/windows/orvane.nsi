; The Windows installer: both programs, the control port's client, the pictures and the
; guide in Program Files, with a Start-menu entry. The uninstaller takes only what this put
; there: conf.cfg and its backups stay, and so does the folder that holds them.
;   makensis -DVERSION=1.2.20 -DSOURCE=build-windows/bin -DOUTFILE=orvane-1.2.20-setup.exe
; A 64-bit installer for 64-bit programs; it needs no 32-bit Windows layer (WoW64).
Target amd64-unicode
!ifndef VERSION | SOURCE | OUTFILE
  !error "VERSION, SOURCE and OUTFILE must be defined"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"

Name "Orvane ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Orvane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Orvane"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${SOURCE}\orvane.exe"
  File "${SOURCE}\orvane-sim.exe"
  File "${SOURCE}\orvane-ctl.exe"
  File "${SOURCE}\orvane-guard.exe"
  File "${SOURCE}\orvane-mqtt.exe"
  File "${SOURCE}\guide.html"
  File "${SOURCE}\guide.ru.html"
  SetOutPath "$INSTDIR\img"
  File "${SOURCE}\img\HotEnd.jpg"
  File "${SOURCE}\img\ColdEnd.jpg"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Orvane"
  CreateShortcut "$SMPROGRAMS\Orvane\Orvane.lnk" "$INSTDIR\orvane.exe"
  CreateShortcut "$SMPROGRAMS\Orvane\Orvane virtual controller.lnk" "$INSTDIR\orvane-sim.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Orvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Orvane developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\orvane.exe"
  Delete "$INSTDIR\orvane-sim.exe"
  Delete "$INSTDIR\orvane-ctl.exe"
  Delete "$INSTDIR\orvane-guard.exe"
  Delete "$INSTDIR\orvane-mqtt.exe"
  Delete "$INSTDIR\guide.html"
  Delete "$INSTDIR\guide.ru.html"
  Delete "$INSTDIR\img\HotEnd.jpg"
  Delete "$INSTDIR\img\ColdEnd.jpg"
  RMDir "$INSTDIR\img"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when nothing of the operator's is left in it.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Orvane\Orvane.lnk"
  Delete "$SMPROGRAMS\Orvane\Orvane virtual controller.lnk"
  RMDir "$SMPROGRAMS\Orvane"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
