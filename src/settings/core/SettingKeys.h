#pragma once

// Every stored key with its file and its default, in one place, so readers and
// writers never repeat a literal.
namespace brindle::SettingKeys {

inline constexpr char Section[] = "EXEINI";

// Files beside the program, as suffixes of the program folder.
inline constexpr char MainFile[] = "\\★MailData\\ini.ini";
inline constexpr char AccountFile[] = "\\★MailData\\iniIdPass.ini";
// The mailboxes after the first; made when the user adds one.
inline constexpr char MailboxFile[] = "\\★MailData\\mailboxes.ini";
inline constexpr char SeenFile[] = "\\★MailData\\seen.txt";
// Mail server file, addressed by its bare name in the working directory.
inline constexpr char ServerFileName[] = "lunaro.ini";

// The marker for "no mail program chosen".
inline constexpr char NotSet[] = "未設定";

struct Key {
    const char* name;
    const char* defaultText; // integer keys default to 0
};

// Main settings file.
inline constexpr Key HangUp{"NUMBER", "0"};          // settings window hangUpBox
inline constexpr Key Interval{"NUMBER2", "0"};       // settings window intervalEdit
inline constexpr Key LaunchMailer{"NUMBER3", "0"};   // main window launchMailerBox
inline constexpr Key AutoCloseBoard{"NUMBER4", "0"}; // settings window autoCloseBoardBox
inline constexpr Key MailerPath{"NAME", NotSet};     // Mailer::path()
inline constexpr Key NotifyNewMail{"NOTIFY", "1"};   // main window notifyAction

// Account file.
inline constexpr Key AccountId{"NAME", ""};
inline constexpr Key AccountPassword{"NAME2", ""};
inline constexpr Key AccountSaved{"NAME3", ""};
// "OAUTH2" for an account that signs in through OAuth 2.0 (its tokens live in
// the desktop keyring, never here), "GOA" for one the desktop's online
// accounts hold; empty for a password account.
inline constexpr Key AccountSignIn{"AUTH", ""};
// The server field the sign-in was made for: OAuth 2.0 tokens are kept under
// it, and a desktop account's secret goes to no other server.
inline constexpr Key AccountSignInServer{"AUTHSERVER", ""};
// Which of the desktop's online accounts signs in ("GOA").
inline constexpr Key AccountDesktopAccount{"DESKTOPACCOUNT", ""};

// Mailbox file: how many, then each mailbox's keys with its number (1 to 7)
// appended to the name.
inline constexpr Key MailboxCount{"COUNT", "0"};
inline constexpr Key MailboxName{"NAME", ""};
inline constexpr Key MailboxServer{"SERVER", ""};
inline constexpr Key MailboxId{"ID", ""};
// "OAUTH2" for a browser sign-in, "GOA" for a desktop account, empty for a
// password in the keyring.
inline constexpr Key MailboxSignIn{"AUTH", ""};
inline constexpr Key MailboxDesktopAccount{"DESKTOPACCOUNT", ""};

} // namespace brindle::SettingKeys
