; The Windows installer: Vexlo for every user of the computer, under Program Files.
; makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DPROGRAM=<program folder> -DLISTS=<folder of
;   files.nsh and removal.nsh> -DICONS=<folder of the .ico files> -DOUTFILE=<setup.exe> vexlo.nsi
; Silent, for a school's deployment tool:
;   vexlo-1.0.0-setup.exe /S [/OUTILS=C:\avr\bin] [/D=C:\Program Files\Vexlo]
; (/D= comes last and takes no quotes). /OUTILS= names the folder of make, avr-gcc and avrdude
; when they are not on the PATH; it is kept in Vexlo.ini beside the program.
; Silent uninstall: "C:\Program Files\Vexlo\uninstall.exe" /S

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vexlo"
!define SETTINGS "$INSTDIR\Vexlo.ini"

Name "Vexlo"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vexlo"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Vexlo ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductName" "Vexlo"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation de Vexlo"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "LegalCopyright" "Équipe Vexlo"

Var ToolsFolder
Var ToolsField

!define MUI_ICON "${ICONS}\vexlo.ico"
!define MUI_UNICON "${ICONS}\vexlo.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Vexlo.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom ToolsPage ToolsPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Function .onInit
    SetShellVarContext all
    ; A reinstallation keeps the tools folder the teacher gave before.
    ReadINIStr $ToolsFolder "$INSTDIR\Vexlo.ini" "Outils" "Dossier"
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/OUTILS=" $1
    ${IfNot} ${Errors}
        StrCpy $ToolsFolder $1
    ${EndIf}
FunctionEnd

Function ToolsPage
    !insertmacro MUI_HEADER_TEXT "Outils du module" \
        "Où trouver make, avr-gcc et avrdude, qui fabriquent et envoient le programme du module."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 48u "Si make, avr-gcc et avrdude sont dans le PATH de Windows, \
        laissez ce champ vide. Sinon, indiquez le dossier qui les contient, ou plusieurs dossiers \
        séparés par « ; » (avec MSYS2 : C:\msys64\mingw64\bin;C:\msys64\usr\bin). Le guide \
        de l'enseignant dit où trouver ces outils."
    Pop $0
    ${NSD_CreateDirRequest} 0 56u 78% 13u "$ToolsFolder"
    Pop $ToolsField
    ${NSD_CreateBrowseButton} 80% 55u 20% 15u "Parcourir…"
    Pop $0
    ${NSD_OnClick} $0 BrowseTools
    nsDialogs::Show
FunctionEnd

Function BrowseTools
    ${NSD_GetText} $ToolsField $0
    nsDialogs::SelectFolderDialog "Dossier de make, avr-gcc et avrdude" "$0"
    Pop $0
    ${If} $0 != error
        ${NSD_SetText} $ToolsField "$0"
    ${EndIf}
FunctionEnd

; Several folders may be given, separated by ";" as in PATH (MSYS2 keeps make and the AVR tools
; apart), so the value is not checked here: the program names any tool it does not find.
Function ToolsPageLeave
    ${NSD_GetText} $ToolsField $ToolsFolder
FunctionEnd

Section "Vexlo"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    !include "${LISTS}\files.nsh"
    File "/oname=vexlo-sequence.ico" "${ICONS}\vexlo-sequence.ico"
    ${If} $ToolsFolder == ""
        DeleteINIStr "${SETTINGS}" "Outils" "Dossier"
    ${Else}
        WriteINIStr "${SETTINGS}" "Outils" "Dossier" "$ToolsFolder"
    ${EndIf}
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortCut "$SMPROGRAMS\Vexlo.lnk" "$INSTDIR\Vexlo.exe" "" "$INSTDIR\Vexlo.exe" 0

    WriteRegStr HKLM "Software\Classes\.car" "" "Vexlo.Sequence"
    WriteRegStr HKLM "Software\Classes\Vexlo.Sequence" "" "Séquence de caractères Vexlo"
    WriteRegStr HKLM "Software\Classes\Vexlo.Sequence\DefaultIcon" "" \
        "$INSTDIR\vexlo-sequence.ico"
    WriteRegStr HKLM "Software\Classes\Vexlo.Sequence\shell\open\command" "" \
        '"$INSTDIR\Vexlo.exe" "%1"'

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vexlo"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Équipe Vexlo"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vexlo.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; Explorer shows the new icon of .car files without a restart.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section "Uninstall"
    ; Only what the installation put there (and what the program makes when run from the folder
    ; by an administrator): a folder chosen by mistake keeps the files that were already in it.
    !include "${LISTS}\removal.nsh"
    Delete "$INSTDIR\vexlo-sequence.ico"
    Delete "$INSTDIR\Vexlo.ini"
    Delete "$INSTDIR\MessageTemporaire.car"
    Delete "$INSTDIR\.MessageTemporaire.car.lock"
    Delete "$INSTDIR\.vexlo.lock"
    Delete "$INSTDIR\AfficheurCarac.c"
    Delete "$INSTDIR\AfficheurCarac.elf"
    Delete "$INSTDIR\AfficheurCarac.hex"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR\Travail"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Vexlo.lnk"
    ReadRegStr $0 HKLM "Software\Classes\.car" ""
    ${If} $0 == "Vexlo.Sequence"
        DeleteRegKey HKLM "Software\Classes\.car"
    ${EndIf}
    DeleteRegKey HKLM "Software\Classes\Vexlo.Sequence"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
