; Kelvorn's additions to CPack's NSIS installer script, included among its
; definitions. CPack defines KELVORN_VERSION_NUMBERS (four dotted numbers)
; and KELVORN_PUBLISHER before including this.
;
; The .dxf association: the program class Kelvorn.dxf, whose open verb is
; "Open with Kelvorn"; Kelvorn in the "Open with" list of .dxf files; and
; Kelvorn as the program that opens .dxf files only when no other program
; does already (the user's choice, a per-user class or the machine's class).
; The uninstaller takes back exactly what the installer wrote.

; A 64-bit installer: it writes the 64-bit registry and Program Files.
Target amd64-unicode

; The installer's own version resource, shown by Explorer's Properties.
VIProductVersion ${KELVORN_VERSION_NUMBERS}
VIFileVersion ${KELVORN_VERSION_NUMBERS}
VIAddVersionKey /LANG=1033 ProductName "Kelvorn"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "Kelvorn ${VERSION} Setup"
VIAddVersionKey /LANG=1033 CompanyName "${KELVORN_PUBLISHER}"

!include LogicLib.nsh

!define KELVORN_PROGID "Kelvorn.dxf"
!define KELVORN_CLASSES "Software\Classes"
!define KELVORN_USER_CHOICE "Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.dxf\UserChoice"
; SHChangeNotify's SHCNE_ASSOCCHANGED: Explorer reads the associations again.
!define KELVORN_ASSOCIATIONS_CHANGED "System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'"

; $1 = the class that opens .dxf files now: the user's choice first, then the
; per-user class, then the machine's; empty when there is none.
Function DxfOpenerNow
  ReadRegStr $1 HKCU "${KELVORN_USER_CHOICE}" "ProgId"
  ${If} $1 == ""
    ReadRegStr $1 HKCU "${KELVORN_CLASSES}\.dxf" ""
  ${EndIf}
  ${If} $1 == ""
    ReadRegStr $1 HKLM "${KELVORN_CLASSES}\.dxf" ""
  ${EndIf}
FunctionEnd

Function RegisterDxfAssociation
  ; Opened from Explorer, a drawing shows as CAD programs show it, as its thumbnail does.
  StrCpy $0 '"$INSTDIR\kelvorn.exe" --flatten "%1"'
  WriteRegStr SHCTX "${KELVORN_CLASSES}\${KELVORN_PROGID}" "" "DXF mesh"
  WriteRegStr SHCTX "${KELVORN_CLASSES}\${KELVORN_PROGID}\DefaultIcon" "" "$INSTDIR\kelvorn.exe,0"
  WriteRegStr SHCTX "${KELVORN_CLASSES}\${KELVORN_PROGID}\shell" "" "open"
  WriteRegStr SHCTX "${KELVORN_CLASSES}\${KELVORN_PROGID}\shell\open" "" "Open with Kelvorn"
  WriteRegStr SHCTX "${KELVORN_CLASSES}\${KELVORN_PROGID}\shell\open\command" "" $0
  WriteRegStr SHCTX "${KELVORN_CLASSES}\.dxf\OpenWithProgids" "${KELVORN_PROGID}" ""
  ; The name and the file types "Open with" shows for kelvorn.exe.
  WriteRegStr SHCTX "${KELVORN_CLASSES}\Applications\kelvorn.exe" "FriendlyAppName" "Kelvorn"
  WriteRegStr SHCTX "${KELVORN_CLASSES}\Applications\kelvorn.exe\SupportedTypes" ".dxf" ""
  WriteRegStr SHCTX "${KELVORN_CLASSES}\Applications\kelvorn.exe\shell\open\command" "" $0

  Call DxfOpenerNow
  ${If} $1 == ""
  ${OrIf} $1 == "${KELVORN_PROGID}"
    WriteRegStr SHCTX "${KELVORN_CLASSES}\.dxf" "" "${KELVORN_PROGID}"
  ${Else}
    DetailPrint "$1 opens .dxf files already: Kelvorn is only added to $\"Open with$\""
  ${EndIf}
  ${KELVORN_ASSOCIATIONS_CHANGED}
FunctionEnd

Function un.UnregisterDxfAssociation
  ; The default program of .dxf goes only if it is still Kelvorn.
  ReadRegStr $0 SHCTX "${KELVORN_CLASSES}\.dxf" ""
  ${If} $0 == "${KELVORN_PROGID}"
    DeleteRegValue SHCTX "${KELVORN_CLASSES}\.dxf" ""
  ${EndIf}
  DeleteRegValue SHCTX "${KELVORN_CLASSES}\.dxf\OpenWithProgids" "${KELVORN_PROGID}"
  ; The .dxf keys themselves only when nothing of another program is left in them.
  DeleteRegKey /ifnosubkeys /ifnovalues SHCTX "${KELVORN_CLASSES}\.dxf\OpenWithProgids"
  DeleteRegKey /ifnosubkeys /ifnovalues SHCTX "${KELVORN_CLASSES}\.dxf"
  DeleteRegKey SHCTX "${KELVORN_CLASSES}\${KELVORN_PROGID}"
  DeleteRegKey SHCTX "${KELVORN_CLASSES}\Applications\kelvorn.exe"
  ${KELVORN_ASSOCIATIONS_CHANGED}
FunctionEnd

; The key in which CPack's script keeps the installation folder, and the
; publisher's key above it when nothing else is left there.
Function un.ForgetInstallFolder
  DeleteRegKey SHCTX "Software\${KELVORN_PUBLISHER}\Kelvorn"
  DeleteRegKey /ifnosubkeys /ifnovalues SHCTX "Software\${KELVORN_PUBLISHER}"
FunctionEnd
