; One of a vendor's programs, all installed into one vendor folder that holds a library they share.
; makensis -DAPP=One demo-vendor.nsi, beside demo.exe and demo.dll
Unicode true
Target amd64-unicode
Name "Vendor ${APP}"
OutFile "vendor-${APP}.exe"
InstallDir "$PROGRAMFILES64\Vendor\${APP}"
RequestExecutionLevel admin
SilentInstall silent

!define SHARED "Software\Microsoft\Windows\CurrentVersion\SharedDLLs"

Section
  SetRegView 64
  SetOutPath "$INSTDIR"
  File "/oname=${APP}.exe" "demo.exe"
  SetOutPath "$PROGRAMFILES64\Vendor"
  File "/oname=common.dll" "demo.dll"
  ReadRegDWORD $0 HKLM "${SHARED}" "$PROGRAMFILES64\Vendor\common.dll"
  IntOp $0 $0 + 1
  WriteRegDWORD HKLM "${SHARED}" "$PROGRAMFILES64\Vendor\common.dll" $0
  WriteRegStr HKLM "Software\Vendor\${APP}" "InstallDir" "$INSTDIR"
SectionEnd
