; An installer as NSIS users write them: program files, shortcuts, a Run entry, a shared-DLL
; count, the user's PATH extended, a file type, an uninstall entry and the vendor's keys.
; makensis demo-nsis.nsi, beside demo.exe and demo.dll
Unicode true
Target amd64-unicode
Name "Demo NSIS"
OutFile "demo-nsis.exe"
InstallDir "$PROGRAMFILES64\Demo NSIS"
RequestExecutionLevel admin
SilentInstall silent
!include WinMessages.nsh

!define UNINSTALL "Software\Microsoft\Windows\CurrentVersion\Uninstall\DemoNSIS"
!define SHARED "Software\Microsoft\Windows\CurrentVersion\SharedDLLs"

Section
  SetRegView 64
  SetOutPath "$INSTDIR"
  File "/oname=DemoN.exe" "demo.exe"
  File "/oname=demon.dll" "demo.dll"
  SetOutPath "$INSTDIR\Help"
  File "/oname=readme.txt" "demo-nsis.nsi"
  WriteUninstaller "$INSTDIR\uninst.exe"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Demo NSIS"
  CreateShortCut "$SMPROGRAMS\Demo NSIS\Demo NSIS.lnk" "$INSTDIR\DemoN.exe"
  CreateShortCut "$SMPROGRAMS\Demo NSIS\Uninstall Demo NSIS.lnk" "$INSTDIR\uninst.exe"
  SetShellVarContext current
  CreateShortCut "$DESKTOP\Demo NSIS.lnk" "$INSTDIR\DemoN.exe"

  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Run" "DemoNSIS" '"$INSTDIR\DemoN.exe" /background'

  ReadRegDWORD $0 HKLM "${SHARED}" "$INSTDIR\demon.dll"
  IntOp $0 $0 + 1
  WriteRegDWORD HKLM "${SHARED}" "$INSTDIR\demon.dll" $0

  ReadRegStr $1 HKCU "Environment" "Path"
  StrCmp $1 "" 0 +3
    WriteRegExpandStr HKCU "Environment" "Path" "$INSTDIR"
    Goto +2
    WriteRegExpandStr HKCU "Environment" "Path" "$1;$INSTDIR"
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000

  WriteRegStr HKCR ".xyz" "" "DemoNSIS.Document"
  WriteRegStr HKCR ".xyz" "Content Type" "application/x-demo-nsis"
  WriteRegStr HKCR "DemoNSIS.Document" "" "Demo NSIS document"
  WriteRegStr HKCR "DemoNSIS.Document\DefaultIcon" "" "$INSTDIR\DemoN.exe,0"
  WriteRegStr HKCR "DemoNSIS.Document\shell\open\command" "" '"$INSTDIR\DemoN.exe" "%1"'

  WriteRegStr HKLM "${UNINSTALL}" "DisplayName" "Demo NSIS"
  WriteRegStr HKLM "${UNINSTALL}" "DisplayVersion" "1.0"
  WriteRegStr HKLM "${UNINSTALL}" "Publisher" "Demo Vendor"
  WriteRegStr HKLM "${UNINSTALL}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegDWORD HKLM "${UNINSTALL}" "NoModify" 1

  WriteRegStr HKLM "Software\Demo Vendor\Demo NSIS" "InstallDir" "$INSTDIR"
  WriteRegDWORD HKLM "Software\Demo Vendor\Demo NSIS" "Build" 108
  WriteRegStr HKCU "Software\Demo Vendor\Demo NSIS\Settings" "Language" "en"
SectionEnd

Section Uninstall
  RMDir /r "$INSTDIR"
SectionEnd
