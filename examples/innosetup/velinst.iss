; velinst.dll for Inno Setup: a declaration of every export and a short example of use.
;
; Copy the [Files] entry and the [Code] declarations into your script. Inno Setup calls the
; 32-bit velinst.dll; every export is stdcall and takes ANSI texts.
;
; How the parameters are passed:
; - Texts the DLL reads are AnsiString parameters passed by value.
; - Integers the DLL writes are `var` parameters: leave out `var` and the DLL writes
;   through a wrong pointer, which can end your installer.
; - Texts the DLL writes (their names end in "Out") are AnsiString parameters that your
;   script sizes first with SetLength and passes by value: the DLL writes into the
;   string's own characters. Cut the result at its first #0 afterwards (TextBefore0
;   below). The size each needs:
;     VEL_UNCtoLocal    BufferOut      the Size you pass (at most Size - 1 characters)
;     VEL_FontNameFile  BufferOut      the Size you pass (the DLL writes Size + 1 bytes,
;                                      which SetLength(S, Size) provides)
;     VEL_RDB_...       every ...Out   1024 (SetLength(S, 1024))
;   An output shorter than that lets the DLL write past the string's end.
;
; The account exports reach the service host named by the default value of
; HKLM\Software\Corvane\Ridgeline Professional\6.00\URL\RidgelineMobile\server.
; They return 0, the service's error code (4 to 42; 26 is a wrong password) or 3 for a
; failure inside the library.

[Files]
Source: "velinst.dll"; Flags: dontcopy

[Code]
const
  VelTextSize = 1024;

{ ---- Installer helpers ---- }
function VEL_ShellExec(ProgramPath, Arguments: AnsiString): Integer;
  external 'VEL_ShellExec@files:velinst.dll stdcall';
function VEL_ShellExecNoWait(FileName, Parameters: AnsiString): Integer;
  external 'VEL_ShellExecNoWait@files:velinst.dll stdcall';
procedure VEL_SetLastError(Code: Cardinal);
  external 'VEL_SetLastError@files:velinst.dll stdcall';
function VEL_MD_GetOS: Integer;
  external 'VEL_MD_GetOS@files:velinst.dll stdcall';
function VEL_GetLanguageID: Integer;
  external 'VEL_GetLanguageID@files:velinst.dll stdcall';
function VEL_AutoplayStart: Integer;
  external 'VEL_AutoplayStart@files:velinst.dll stdcall';
function VEL_AutoplayStop: Integer;
  external 'VEL_AutoplayStop@files:velinst.dll stdcall';
function VEL_Eject(Drive: AnsiString): Integer;
  external 'VEL_Eject@files:velinst.dll stdcall';
function VEL_UNCtoLocal(Server, Share: AnsiString; BufferOut: AnsiString; Size: Integer): Integer;
  external 'VEL_UNCtoLocal@files:velinst.dll stdcall';
function VEL_FontNameFile(Path: AnsiString; BufferOut: AnsiString; Size: Integer): Integer;
  external 'VEL_FontNameFile@files:velinst.dll stdcall';

{ ---- Map pack lists ---- }
function VEL_MakePackList24K(Region, List: AnsiString; Scale: Integer): Integer;
  external 'VEL_MakePackList24K@files:velinst.dll stdcall';
function VEL_MakePackList(Region, List: AnsiString; Scale: Integer): Integer;
  external 'VEL_MakePackList@files:velinst.dll stdcall';
function VEL_MakePackList100K(Region, List: AnsiString; Scale: Integer): Integer;
  external 'VEL_MakePackList100K@files:velinst.dll stdcall';

{ ---- Account service ---- }
function VEL_RDB_GetUserCount(AuthToken, ProductId: AnsiString; var UserCount: Integer): Integer;
  external 'VEL_RDB_GetUserCount@files:velinst.dll stdcall';
function VEL_RDB_GetUserID(AuthToken, ProductId: AnsiString; UserIndex: Integer; var UserId: Integer): Integer;
  external 'VEL_RDB_GetUserID@files:velinst.dll stdcall';
function VEL_RDB_GetAccount(AuthToken, ProductId: AnsiString;
  ContactNameOut, ContactEmailOut, ContactPhoneOut: AnsiString; var AccountId: Integer): Integer;
  external 'VEL_RDB_GetAccount@files:velinst.dll stdcall';
function VEL_RDB_GetUserInfo(AuthToken: AnsiString; UserId: Integer;
  FirstNameOut, LastNameOut, UserNameOut, EmailOut, PhoneOut: AnsiString): Integer;
  external 'VEL_RDB_GetUserInfo@files:velinst.dll stdcall';
function VEL_RDB_CreateUserAccount(AuthToken, ProductId, UserName, Password, AccountName,
  Address1, Address2, City, State, Zip, ContactName, ContactEmail, ContactPhone,
  FirstName, LastName, Email, Phone: AnsiString; AuthTokenOut: AnsiString): Integer;
  external 'VEL_RDB_CreateUserAccount@files:velinst.dll stdcall';
function VEL_RDB_Login(UserName, Password: AnsiString; AuthTokenOut: AnsiString; var UserId: Integer): Integer;
  external 'VEL_RDB_Login@files:velinst.dll stdcall';
function VEL_RDB_SetUserInfo(AuthToken: AnsiString; UserId: Integer;
  FirstName, LastName, Email, Phone: AnsiString; ReceiveNewsletter, ReceiveUpdates: Integer): Integer;
  external 'VEL_RDB_SetUserInfo@files:velinst.dll stdcall';
function VEL_RDB_FindAccount(AuthToken: AnsiString; Unused: Integer; ProductId: AnsiString;
  var AccountId: Integer): Integer;
  external 'VEL_RDB_FindAccount@files:velinst.dll stdcall';
function VEL_RDB_UserNameExists(UserName: AnsiString; var Exists: Integer): Integer;
  external 'VEL_RDB_UserNameExists@files:velinst.dll stdcall';
function VEL_RDB_EmailAddressExists(EmailAddress: AnsiString; var Exists: Integer): Integer;
  external 'VEL_RDB_EmailAddressExists@files:velinst.dll stdcall';

{ An output text as the DLL left it: up to its terminator. }
function TextBefore0(const S: AnsiString): AnsiString;
var
  Stop: Integer;
begin
  Stop := Pos(#0, S);
  if Stop > 0 then
    Result := Copy(S, 1, Stop - 1)
  else
    Result := S;
end;

{ Example: a Windows check, a pack list and a sign-in before the files are copied. }
function NextButtonClick(CurPageID: Integer): Boolean;
var
  Token: AnsiString;
  UserId, Exists, Code, Cells: Integer;
begin
  Result := True;
  if CurPageID <> wpReady then
    Exit;

  if VEL_MD_GetOS() <> 5 then
  begin
    MsgBox('This product needs a current version of Windows.', mbError, MB_OK);
    Result := False;
    Exit;
  end;

  Cells := VEL_MakePackList24K(ExpandConstant('{src}\maps\region.rgn'),
    ExpandConstant('{tmp}\pack.lst'), 24000);
  if Cells < 0 then
    Log('The region file could not be read.');

  Code := VEL_RDB_UserNameExists('first user', Exists);
  if (Code = 0) and (Exists = 1) then
  begin
    SetLength(Token, VelTextSize);
    UserId := 0;
    Code := VEL_RDB_Login('first user', 'pass word & more', Token, UserId);
    if Code = 0 then
      Log('Signed in as user ' + IntToStr(UserId) + ', token ' + TextBefore0(Token))
    else
      Log('Sign-in failed with code ' + IntToStr(Code));
  end;
end;
