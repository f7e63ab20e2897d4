; velinst.dll in an NSIS installer: an example to copy.
;
; One script for both widths; build it beside the DLL of the matching one:
;   makensis -DTARGET_X86   velinst-example.nsi   32 bits, x86-ansi, the win32 velinst.dll
;   makensis -DTARGET_AMD64 velinst-example.nsi   64 bits, amd64-unicode, the win64 velinst.dll
; Optional: -DVELINST_DLL=path -DREGION_FILE=path -DPRODUCT_FONT=path -DOUTFILE=path
;
; It runs with its pages, or silently (setup.exe /S /D=C:\Maps) with the answers a user
; would give read from setup.ini beside the installer (see ReadAnswers). What each
; velinst call returned goes to velinst-results.ini in the installation folder.
;
; How velinst is called (System plugin):
; - every text is `m` (a narrow ANSI text, what velinst takes in both widths);
; - hostile texts go through registers (`m r1`), never inside the call's own quotes;
; - integers velinst writes are `*i .rN`: without the `*` velinst writes through a
;   wrong pointer and the installer crashes;
; - a text velinst writes is `m .rN`: the System plugin gives it a buffer of
;   NSIS_MAX_STRLEN (1024) characters, the size the account exports write. An NSIS
;   built with shorter strings must pass buffers of its own (System::Alloc 1024).

Unicode true
!ifdef TARGET_AMD64
  Target amd64-unicode
  !define /ifndef VELINST_DLL "..\..\build\win64\bin\velinst.dll"
  !define /ifndef OUTFILE "velinst-example-amd64.exe"
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  Target x86-ansi
  !define /ifndef VELINST_DLL "..\..\build\win32\bin\velinst.dll"
  !define /ifndef OUTFILE "velinst-example-x86.exe"
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif
!define /ifndef REGION_FILE "..\monterey_bay.rgn"
!define SERVICE_KEY "Software\Corvane\Ridgeline Professional\6.00\URL\RidgelineMobile\server"
!define VEL "$PLUGINSDIR\velinst.dll::"
!define RESULTS "$INSTDIR\velinst-results.ini"

!include LogicLib.nsh

Name "Ridgeline Maps"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Ridgeline Maps"
RequestExecutionLevel user
ShowInstDetails show

LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"
LangString NeedsWindows ${LANG_ENGLISH} "Ridgeline Maps needs a current version of Windows."
LangString NeedsWindows ${LANG_GERMAN} "Ridgeline Maps benötigt eine aktuelle Windows-Version."
LangString AccountFailed ${LANG_ENGLISH} "The account could not be set up (code $0)."
LangString AccountFailed ${LANG_GERMAN} "Das Konto konnte nicht eingerichtet werden (Code $0)."

Page directory
Page instfiles

Var Answers

Function .onInit
  InitPluginsDir
  File "/oname=$PLUGINSDIR\velinst.dll" "${VELINST_DLL}"
  StrCpy $Answers "$EXEDIR\setup.ini"

  ; The installer speaks German on German systems (primary language 0x07), else English.
  System::Call '${VEL}VEL_GetLanguageID() i .r0'
  IntOp $1 $0 & 0x3FF
  ${If} $1 = 0x07
    StrCpy $LANGUAGE ${LANG_GERMAN}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}

  System::Call '${VEL}VEL_MD_GetOS() i .r1'
  ${If} $1 <> 5
    MessageBox MB_ICONSTOP "$(NeedsWindows)" /SD IDOK
    Abort
  ${EndIf}
  ; Kept for the results once the folder is known.
  Push $1
  Push $0
FunctionEnd

Section "Programs"
  SetOutPath "$INSTDIR"
  Pop $0
  Pop $1
  WriteINIStr "${RESULTS}" helpers language $0
  WriteINIStr "${RESULTS}" helpers os $1

  ; A program the installer waits for, and one it leaves running.
  StrCpy $1 "/c echo waited>$\"$INSTDIR\waited.txt$\""
  System::Call '${VEL}VEL_ShellExec(m "$SYSDIR\cmd.exe", m r1) i .r0'
  WriteINIStr "${RESULTS}" helpers shellexec $0
  StrCpy $1 "/c echo started>$\"$INSTDIR\started.txt$\""
  System::Call '${VEL}VEL_ShellExecNoWait(m "$SYSDIR\cmd.exe", m r1) i .r0'
  WriteINIStr "${RESULTS}" helpers shellexec_nowait $0
SectionEnd

Section "Maps"
  SetOutPath "$INSTDIR\maps"
  File "/oname=region.rgn" "${REGION_FILE}"
  ; The cells and sheets to copy for the 1:24,000 series.
  System::Call '${VEL}VEL_MakePackList24K(m "$INSTDIR\maps\region.rgn", m "$INSTDIR\maps\pack24k.lst", i 24000) i .r0'
  WriteINIStr "${RESULTS}" maps cells_24k $0
  System::Call '${VEL}VEL_MakePackList100K(m "$INSTDIR\maps\region.rgn", m "$INSTDIR\maps\pack100k.lst", i 100000) i .r0'
  WriteINIStr "${RESULTS}" maps sheets_100k $0

!ifdef PRODUCT_FONT
  SetOutPath "$INSTDIR\fonts"
  File "/oname=product.ttf" "${PRODUCT_FONT}"
  System::Call '${VEL}VEL_FontNameFile(m "$INSTDIR\fonts\product.ttf", m .r1, i 127) i .r0'
  WriteINIStr "${RESULTS}" maps font $0
  WriteINIStr "${RESULTS}" maps font_name $1
!endif

  ; Maps shared on the network are read from their local path when this machine serves them.
  ReadINIStr $1 $Answers share server
  ReadINIStr $2 $Answers share name
  System::Call '${VEL}VEL_UNCtoLocal(m r1, m r2, m .r3, i ${NSIS_MAX_STRLEN}) i .r0'
  WriteINIStr "${RESULTS}" maps share $0
  WriteINIStr "${RESULTS}" maps share_path $3
SectionEnd

; The account: a creator signs in (a reseller's or the installer's own service account),
; the user name is checked, and the product's account is created with the user as its
; administrator; then the user signs in.
Section "Account"
  ReadRegStr $0 HKLM "${SERVICE_KEY}" ""
  WriteINIStr "${RESULTS}" account service $0

  ReadINIStr $1 $Answers account creator
  ReadINIStr $2 $Answers account creator_password
  System::Call '${VEL}VEL_RDB_Login(m r1, m r2, m .R0, *i .r3) i .r0'
  WriteINIStr "${RESULTS}" account creator_login $0
  ${If} $0 <> 0
    Goto failed
  ${EndIf}

  ReadINIStr $1 $Answers account user
  System::Call '${VEL}VEL_RDB_UserNameExists(m r1, *i .r3) i .r0'
  WriteINIStr "${RESULTS}" account user_exists_code $0
  WriteINIStr "${RESULTS}" account user_exists $3
  ${If} $0 <> 0
    Goto failed
  ${EndIf}

  ReadINIStr $R1 $Answers account product
  ReadINIStr $2 $Answers account password
  ReadINIStr $3 $Answers account account_name
  ReadINIStr $4 $Answers account address1
  ReadINIStr $5 $Answers account address2
  ReadINIStr $6 $Answers account city
  ReadINIStr $7 $Answers account state
  ReadINIStr $8 $Answers account zip
  ReadINIStr $9 $Answers account contact_name
  ReadINIStr $R2 $Answers account contact_email
  ReadINIStr $R3 $Answers account contact_phone
  ReadINIStr $R4 $Answers account first_name
  ReadINIStr $R5 $Answers account last_name
  ReadINIStr $R6 $Answers account email
  ReadINIStr $R7 $Answers account phone
  System::Call '${VEL}VEL_RDB_CreateUserAccount(m R0, m R1, m r1, m r2, m r3, m r4, m r5, m r6, m r7, m r8, m r9, m R2, m R3, m R4, m R5, m R6, m R7, m .R8) i .r0'
  WriteINIStr "${RESULTS}" account create $0
  ${If} $0 <> 0
    Goto failed
  ${EndIf}

  ; The new administrator signs in as the product will.
  System::Call '${VEL}VEL_RDB_Login(m r1, m r2, m .R0, *i .R9) i .r0'
  WriteINIStr "${RESULTS}" account user_login $0
  WriteINIStr "${RESULTS}" account user_id $R9
  ${If} $0 <> 0
    Goto failed
  ${EndIf}
  System::Call '${VEL}VEL_RDB_GetUserInfo(m R0, i R9, m .r4, m .r5, m .r6, m .r7, m .r8) i .r0'
  WriteINIStr "${RESULTS}" account user_info $0
  WriteINIStr "${RESULTS}" account user_name $6
  Return

failed:
  DetailPrint "$(AccountFailed)"
SectionEnd
