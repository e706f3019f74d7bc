; The Windows installer of Tessivane (NSIS 3, Unicode). Built by the
; package_installer target of the win32 build tree; that target passes:
;   VERSION       the program's version (x.y.z)
;   PUBLISHER     the maker's name, as in the settings' registry key
;   SETTINGS_KEY  the settings' key under HKEY_CURRENT_USER
;   MAKER_KEY     its parent key, the maker's
;   SAVER, HELP   Tessivane.scr (32-bit) and its help page Tessivane.html
;   NOTICES       THIRD-PARTY-NOTICES.txt, the notices of the linked libraries
;   ICON          the program's icon
;   OUTFILE       the installer to write
;
; What it does:
; - Tessivane.scr and Tessivane.html go into the 32-bit system folder, where
;   the screen-saver settings list the saver: SysWOW64 on 64-bit Windows,
;   System32 on 32-bit Windows. The third-party notices go beside them as
;   Tessivane-THIRD-PARTY-NOTICES.txt (the folder is shared with every
;   other program, hence the product's name in front).
; - The uninstaller goes to "$PROGRAMFILES\Tessivane\uninstall.exe", and the
;   installed-programs entry to HKLM's Uninstall key in the 32-bit view (the
;   view of a 32-bit program; WOW6432Node on 64-bit Windows).
; - The component "use as my screen saver" (ticked in the interactive
;   install) sets the installing user's current screen saver. A silent
;   install (/S) leaves the current screen saver alone unless /ACTIVATE is
;   given.
; - The uninstaller removes all of the above, and the current screen saver
;   only while it is still Tessivane. The user's settings stay unless the
;   user ticks the component that removes them (or passes /REMOVESETTINGS to
;   a silent uninstall).

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!ifndef VERSION | PUBLISHER | SETTINGS_KEY | MAKER_KEY | SAVER | HELP | NOTICES | ICON | OUTFILE
  !error "Build the installer through the package_installer target: it passes VERSION, PUBLISHER, SETTINGS_KEY, MAKER_KEY, SAVER, HELP, NOTICES, ICON and OUTFILE."
!endif

!define PRODUCT "Tessivane"
!define SAVER_FILE "Tessivane.scr"
!define HELP_FILE "Tessivane.html"
!define NOTICES_FILE "Tessivane-THIRD-PARTY-NOTICES.txt"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
; The files' own times stay out of the installer, so the same files give
; the same installer bytes (the installed files carry the install's time).
SetDateSave off

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "© ${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_SMALLDESC

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for systems whose language is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
!include "Texts.nsh"

; The folder the saver lives in.
Var SaverDir

; Sets SaverDir to the 32-bit system folder: the WOW64 folder on 64-bit
; Windows (its real name, which 64-bit programs such as the screen-saver
; launcher and Explorer see too), $SYSDIR where there is none.
!macro DefineFindSaverDir prefix
  Function ${prefix}FindSaverDir
    System::Call 'kernel32::GetSystemWow64DirectoryW(w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
    ${If} $1 = 0
      StrCpy $0 $SYSDIR
    ${EndIf}
    StrCpy $SaverDir $0
  FunctionEnd
!macroend
!insertmacro DefineFindSaverDir ""
!insertmacro DefineFindSaverDir "un."

; Ends the install with an error box (none in a silent install) and exit
; code 2, so that a failed install never passes for a finished one.
!macro FailInstall text
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 2
  Abort
!macroend

; A running saver or an open settings dialog holds its file: Windows lets
; such a file be renamed but not replaced, so the old file moves aside (and
; goes at the next restart) and the new one takes its name.
!macro MoveAsideIfHeld name
  ClearErrors
  Delete "$SaverDir\${name}"
  ${If} ${Errors}
    GetTempFileName $0 "$SaverDir"
    Delete $0
    Rename "$SaverDir\${name}" $0
    Delete /REBOOTOK $0
  ${EndIf}
!macroend

; A file that cannot be written stops the install (Retry or Cancel; a
; silent install cancels) instead of being skipped.
AllowSkipFiles off

Section "!$(SectionSaver)" SectionSaver
  SectionIn RO
  ; The uninstaller and its entry first: whatever a failed install leaves,
  ; the uninstaller removes.
  ClearErrors
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SaverDir\${SAVER_FILE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} ${Errors}
    !insertmacro FailInstall "$(CannotRegister)"
  ${EndIf}

  SetOutPath "$SaverDir"
  !insertmacro MoveAsideIfHeld "${SAVER_FILE}"
  File "/oname=${SAVER_FILE}" "${SAVER}"
  !insertmacro MoveAsideIfHeld "${HELP_FILE}"
  File "/oname=${HELP_FILE}" "${HELP}"
  !insertmacro MoveAsideIfHeld "${NOTICES_FILE}"
  File "/oname=${NOTICES_FILE}" "${NOTICES}"

  ; In KiB, what the installed files take.
  ${GetSize} "$SaverDir" "/M=Tessivane* /S=0K /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(SectionActivate)" SectionActivate
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SaverDir\${SAVER_FILE}"
  ; Turns the screen saver on (ScreenSaveActive=1) and tells the running
  ; programs, so the choice holds without a new sign-in.
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE}) i .r0'
  ${If} $0 = 0
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionSaver} "$(SectionSaverDescription)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionActivate} "$(SectionActivateDescription)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Installing into the system folder and HKLM needs an administrator.
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdministrator)" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RequireAdministrator
  Call FindSaverDir
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ACTIVATE" $1
    ${If} ${Errors}
      !insertmacro UnselectSection ${SectionActivate}
    ${EndIf}
  ${EndIf}
FunctionEnd

; --- Uninstaller ---

Section "un.$(SectionSaver)" SectionUninstallSaver
  SectionIn RO
  ; Windows' "(None)" is the absence of the value; cleared only while it
  ; still names this saver, by its long or its short (8.3) path.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != ""
    StrCpy $1 "$SaverDir\${SAVER_FILE}"
    GetFullPathName /SHORT $2 $1
    ${If} $0 == $1
    ${OrIf} $0 == $2
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
  ${EndIf}

  Delete /REBOOTOK "$SaverDir\${SAVER_FILE}"
  Delete /REBOOTOK "$SaverDir\${HELP_FILE}"
  Delete /REBOOTOK "$SaverDir\${NOTICES_FILE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.$(SectionRemoveSettings)" SectionRemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  ; The maker's key too, once nothing else is in it.
  DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionUninstallSaver} "$(SectionUninstallSaverDescription)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionRemoveSettings} "$(SectionRemoveSettingsDescription)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
  !insertmacro RequireAdministrator
  Call un.FindSaverDir
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionRemoveSettings}
  ${EndIf}
FunctionEnd
