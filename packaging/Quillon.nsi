; The Quillon installer, one per architecture. scripts/package builds it with
;   makensis -DARCH=win64|win32 -DVERSION=x.y.z -DPUBLISHER=... -DBINDIR=<folder of the programs>
;            -DICON=<Quillon.ico> -DOUTFILE=<setup.exe> Quillon.nsi
; Silent with /S, the folder with /D=<folder> (last on the line, unquoted). The uninstaller keeps
; the user's data folder and settings unless they tick "Quillon's data", or pass /REMOVEDATA with /S.

Unicode true
!if "${ARCH}" == "win64"
  Target amd64-unicode
  !define PROGRAMS_FOLDER "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define PROGRAMS_FOLDER "$PROGRAMFILES"
!endif

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; As the programs' first start writes them (shell/Settings.h): the scheduler's Run entry and the
; removal lists' file type.
!define RUN_VALUE "Quillon Scheduler"
!define LIST_CLASS "QuillonUninstall"
!define SETTINGS_KEY "Software\Quillon"

Name "Quillon ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAMS_FOLDER}\Quillon"
; Quillon writes under Program Files and HKLM: installing it needs the same rights.
RequestExecutionLevel admin
; Sharp at any scaling, like the programs it installs.
ManifestDPIAware true
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "Quillon ${VERSION} (${ARCH})"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Quillon"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "Quillon ${VERSION} setup (${ARCH})"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ; The 32-bit program would see only WOW6432Node and SysWOW64 of a 64-bit system.
  !if "${ARCH}" == "win32"
    ${If} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "This is the 32-bit Quillon. On 64-bit Windows it would see only part of the \
        registry and of the system folder.$\n$\nPlease install the 64-bit Quillon instead: \
        Quillon-${VERSION}-win64-setup.exe." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  !endif
FunctionEnd

Section "Quillon and Quillon Scheduler" SecPrograms
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${BINDIR}\Quillon.exe"
  File "${BINDIR}\Quillon Scheduler.exe"
  File "/oname=uninst.ico" "${ICON}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Quillon"
  CreateShortcut "$SMPROGRAMS\Quillon\Quillon.lnk" "$INSTDIR\Quillon.exe"
  CreateShortcut "$SMPROGRAMS\Quillon\Quillon Scheduler.lnk" "$INSTDIR\Quillon Scheduler.exe"

  WriteRegStr HKLM "Software\Classes\.qdf" "" "${LIST_CLASS}"
  WriteRegStr HKLM "Software\Classes\${LIST_CLASS}\DefaultIcon" "" "$INSTDIR\uninst.ico"
  WriteRegStr HKLM "Software\Classes\${LIST_CLASS}\Shell\Uninstall\Command" "" '"$INSTDIR\Quillon.exe" "%1"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quillon"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quillon.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Ticked: the entry the scheduler's own menu switches. Unticked: an empty entry, which the first
; start of Quillon takes for "switched off" instead of adding it.
Section "Start the scheduler at logon" SecScheduler
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\Quillon Scheduler.exe"
SectionEnd

Function .onInstSuccess
  ${IfNot} ${SectionIsSelected} ${SecScheduler}
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" ""
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograms} "Quillon finds what an installation added and takes it away; \
    the scheduler notices installers and runs maintenance."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecScheduler} "Quillon Scheduler starts with Windows and waits in the \
    notification area."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "un.Quillon" UnSecPrograms
  SectionIn RO
  ; Not the folder being removed as the working folder, which would keep it.
  SetOutPath "$TEMP"
  Delete /REBOOTOK "$INSTDIR\Quillon.exe"
  Delete /REBOOTOK "$INSTDIR\Quillon Scheduler.exe"
  Delete "$INSTDIR\uninst.ico"
  Delete "$INSTDIR\Uninstall.exe"

  SetShellVarContext all
  Delete "$SMPROGRAMS\Quillon\Quillon.lnk"
  Delete "$SMPROGRAMS\Quillon\Quillon Scheduler.lnk"
  RMDir "$SMPROGRAMS\Quillon"

  ; The type is Quillon's only while it still points at Quillon's class.
  ReadRegStr $0 HKLM "Software\Classes\.qdf" ""
  ${If} $0 == "${LIST_CLASS}"
    DeleteRegKey HKLM "Software\Classes\.qdf"
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\${LIST_CLASS}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Unticked unless asked for: the snapshots, removal lists and undo records in the data folder, and
; the settings. A data folder the user chose elsewhere is never removed whole: it may hold more.
Section /o "un.Quillon's data and settings" UnSecData
  ; Stored with or without its closing backslash.
  ReadRegStr $0 HKCU "${SETTINGS_KEY}\General" "DefaultPath"
  ${If} $0 == "$INSTDIR"
  ${OrIf} $0 == "$INSTDIR\"
  ${OrIf} $0 == ""
    RMDir /r "$INSTDIR"
  ${Else}
    DetailPrint "Kept the data folder $0, which is not Quillon's program folder."
  ${EndIf}
  DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd

; After the data: the folder goes only when nothing is left in it.
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecData}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecPrograms} "The programs, their Start-menu folder, the file type and the \
    uninstall entry."
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecData} "Also the snapshots, removal lists and undo records in Quillon's \
    folder, and Quillon's settings."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
