<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>SessionTexts</name>
    <message>
        <source>ログインできる状態ではありません</source>
        <translation>Not ready to log in</translation>
    </message>
    <message>
        <source>ID かパスワードに使えない文字が含まれています</source>
        <translation>The ID or password holds a character that cannot be used</translation>
    </message>
    <message>
        <source>サーバーの応答が上限の %1 バイトを超えました</source>
        <translation>The server&apos;s reply exceeded the limit of %1 bytes</translation>
    </message>
    <message>
        <source>サーバーの応答の行が長すぎます</source>
        <translation>A line of the server&apos;s reply is too long</translation>
    </message>
</context>
<context>
    <name>brindle::AccountDialog</name>
    <message>
        <source>ID,PASS</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>IDパスワードを保存する</source>
        <translation>Save ID and password</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>IDとパスワードを保存できませんでした。
Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。</source>
        <translation>The ID and password could not be saved.
They hold a character Shift-JIS cannot write, or the settings file cannot be written.</translation>
    </message>
    <message>
        <source>サインアウト</source>
        <translation>Sign Out</translation>
    </message>
    <message>
        <source>ブラウザでサインイン</source>
        <translation>Sign In with Browser</translation>
    </message>
    <message>
        <source>サインイン済み</source>
        <translation>Signed in</translation>
    </message>
    <message>
        <source>サインインする前に、IDとPOPサーバーを設定してください。</source>
        <translation>Set the ID and the POP server before signing in.</translation>
    </message>
    <message>
        <source>サインインできませんでした。
</source>
        <translation>Sign-in failed.
</translation>
    </message>
    <message>
        <source>サインインを保存できませんでした。
Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。</source>
        <translation>The sign-in could not be saved.
It holds a character Shift-JIS cannot write, or the settings file cannot be written.</translation>
    </message>
    <message>
        <source>サインアウトできませんでした。トークンがキーリングに残っています。
</source>
        <translation>Could not sign out. The tokens remain in the keyring.
</translation>
    </message>
    <message>
        <source>パスワードに戻す</source>
        <translation>Back to a password</translation>
    </message>
    <message>
        <source>デスクトップのアカウント</source>
        <translation>Desktop account</translation>
    </message>
    <message>
        <source>Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。</source>
        <translation>It holds a character Shift-JIS cannot write, or the settings file cannot be written.</translation>
    </message>
    <message>
        <source>メールサーバーを保存できませんでした。
</source>
        <translation>The mail server could not be saved.
</translation>
    </message>
    <message>
        <source>アカウントを保存できませんでした。
</source>
        <translation>The account could not be saved.
</translation>
    </message>
    <message>
        <source>デスクトップ経由</source>
        <translation>Via the desktop</translation>
    </message>
</context>
<context>
    <name>brindle::BearerSasl</name>
    <message>
        <source>OAuth 2.0 のトークンは暗号化されていない接続では送れません (pop3s://、imaps:// などの暗号化された接続を使ってください)</source>
        <translation>An OAuth 2.0 token is never sent over an unencrypted connection (use an encrypted one such as pop3s:// or imaps://)</translation>
    </message>
    <message>
        <source>サーバーが OAuth 2.0 でのログイン (OAUTHBEARER、XOAUTH2) を受け付けていません</source>
        <translation>The server does not accept OAuth 2.0 logins (OAUTHBEARER, XOAUTH2)</translation>
    </message>
</context>
<context>
    <name>brindle::ConcurrentMailboxChecks</name>
    <message>
        <source>決められた時間内にチェックが終わりませんでした。</source>
        <translation>The check did not end within the time allowed.</translation>
    </message>
    <message>
        <source>サーバー %1 に接続できません。</source>
        <translation>Cannot connect to the server %1.</translation>
    </message>
</context>
<context>
    <name>brindle::GnomeOnlineAccounts</name>
    <message>
        <source>デスクトップの設定の「オンラインアカウント」で確かめてください。</source>
        <translation>Look at Online Accounts in the desktop&apos;s settings.</translation>
    </message>
    <message>
        <source>デスクトップのオンラインアカウントが見つかりません。削除されたか、オンラインアカウントが動いていません。
</source>
        <translation>The desktop&apos;s online account cannot be found. It was removed, or Online Accounts is not running.
</translation>
    </message>
    <message>
        <source>デスクトップのオンラインアカウント「%1」ではメールが使えません。
</source>
        <translation>The desktop&apos;s online account “%1” cannot be used for mail.
</translation>
    </message>
    <message>
        <source>デスクトップのオンラインアカウント「%1」のメールサーバーが変わりました。
ID,PASSの画面でアカウントを選び直してください。</source>
        <translation>The mail server of the desktop&apos;s online account “%1” has changed.
Choose the account again in the ID,PASS window.</translation>
    </message>
    <message>
        <source>デスクトップのオンラインアカウント「%1」は手当てが必要です。サインインし直してください。
</source>
        <translation>The desktop&apos;s online account “%1” needs attention. Sign in to it again.
</translation>
    </message>
    <message>
        <source>デスクトップのオンラインアカウント「%1」からパスワードを受け取れませんでした。
</source>
        <translation>No password could be had from the desktop&apos;s online account “%1”.
</translation>
    </message>
</context>
<context>
    <name>brindle::HostLookup</name>
    <message>
        <source>サーバー %1 の名前を %2 秒以内に引けませんでした</source>
        <translation>The name of server %1 could not be looked up within %2 seconds</translation>
    </message>
    <message>
        <source>サーバー %1 が見つかりません</source>
        <translation>Server %1 not found</translation>
    </message>
</context>
<context>
    <name>brindle::ImapReplyReader</name>
    <message>
        <source>サーバーの応答が IMAP の形式ではありません</source>
        <translation>The server&apos;s reply is not IMAP</translation>
    </message>
</context>
<context>
    <name>brindle::ImapSession</name>
    <message>
        <source>サーバーが暗号化 (STARTTLS) を提供していないため、ログインしませんでした。最初から TLS で接続するサーバーなら、サーバー名を「imaps://%1」と書いてください。</source>
        <translation>Not logged in: the server offers no encryption (STARTTLS). If the server takes TLS from the start, write the server name as &quot;imaps://%1&quot;.</translation>
    </message>
    <message>
        <source>サーバーが TLS への切り替えを断りました</source>
        <translation>The server refused to switch to TLS</translation>
    </message>
    <message>
        <source>TLS の開始前にサーバーが余分なデータを送りました</source>
        <translation>The server sent extra data before TLS started</translation>
    </message>
    <message>
        <source>未読メールの数を取得できません</source>
        <translation>Cannot get the number of unread messages</translation>
    </message>
    <message>
        <source>サーバーが示した未読メールの数が正しくありません: %1</source>
        <translation>The server gave a wrong number of unread messages: %1</translation>
    </message>
    <message>
        <source>INBOX を開けません</source>
        <translation>Cannot open INBOX</translation>
    </message>
    <message>
        <source>サーバーが IDLE を断りました: %1</source>
        <translation>The server refused IDLE: %1</translation>
    </message>
    <message>
        <source>サーバーが IDLE を終えました: %1</source>
        <translation>The server ended IDLE: %1</translation>
    </message>
    <message>
        <source>サーバーが IDLE を正しく終えませんでした: %1</source>
        <translation>The server did not end IDLE properly: %1</translation>
    </message>
    <message>
        <source>サーバーが別のコマンドへの応答を返しました</source>
        <translation>The server answered a different command</translation>
    </message>
    <message>
        <source>サーバーが予期しない続きを求めました</source>
        <translation>The server asked for an unexpected continuation</translation>
    </message>
    <message>
        <source>サーバーが 1 つのコマンドに %1 個を超える応答を返しました</source>
        <translation>The server sent more than %1 replies to one command</translation>
    </message>
    <message>
        <source>サーバーが接続を断りました: %1</source>
        <translation>The server refused the connection: %1</translation>
    </message>
    <message>
        <source>サーバーが暗号化の前にログイン済みとしたため、接続を打ち切りました</source>
        <translation>Disconnected: the server logged in before encryption</translation>
    </message>
    <message>
        <source>サーバーの機能を取得できません</source>
        <translation>Cannot get the server&apos;s capabilities</translation>
    </message>
    <message>
        <source>ログインできません</source>
        <translation>Cannot log in</translation>
    </message>
    <message>
        <source>サーバーがこの接続でのログインを受け付けていません</source>
        <translation>The server does not accept logins on this connection</translation>
    </message>
    <message>
        <source>ID かパスワードに、このサーバーでは使えない文字が含まれています</source>
        <translation>The ID or password holds a character this server cannot take</translation>
    </message>
    <message>
        <source>サーバーが接続を終えました: %1</source>
        <translation>The server closed the connection: %1</translation>
    </message>
    <message>
        <source>ログインできません: %1%2</source>
        <translation>Cannot log in: %1%2</translation>
    </message>
    <message>
        <source>未読メールを探せません</source>
        <translation>Could not search for unread mail</translation>
    </message>
    <message>
        <source>メールのヘッダーを取得できません</source>
        <translation>Could not read the mail headers</translation>
    </message>
</context>
<context>
    <name>brindle::KeyringMailboxPasswords</name>
    <message>
        <source>キーリングにパスワードがありません。</source>
        <translation>The keyring holds no password for it.</translation>
    </message>
</context>
<context>
    <name>brindle::MailCheck</name>
    <message>
        <source>サインインの有効期限が切れたか、取り消されました。
「メールボックス」の画面でこのメールボックスを「変更」し、OK でもう一度サインインしてください。</source>
        <translation>The sign-in has expired or was revoked.
Change this mailbox in the Mailboxes window and press OK to sign in again.</translation>
    </message>
    <message>
        <source>デスクトップのオンラインアカウントが使えません。</source>
        <translation>The desktop&apos;s online accounts cannot be used.</translation>
    </message>
</context>
<context>
    <name>brindle::MailTransport</name>
    <message>
        <source>不明な原因</source>
        <translation>unknown cause</translation>
    </message>
    <message>
        <source>サーバー %1 (ポート %2) に接続できません: %3</source>
        <translation>Cannot connect to server %1 (port %2): %3</translation>
    </message>
    <message>
        <source>TLS を準備できません</source>
        <translation>Cannot prepare TLS</translation>
    </message>
    <message>
        <source>TLS の開始中にサーバーが接続を切りました</source>
        <translation>The server disconnected while TLS was starting</translation>
    </message>
    <message>
        <source>サーバー証明書を確認できません: %1</source>
        <translation>Cannot verify the server certificate: %1</translation>
    </message>
    <message>
        <source>TLS を開始できません</source>
        <translation>Cannot start TLS</translation>
    </message>
    <message>
        <source>サーバーが途中で接続を切りました</source>
        <translation>The server disconnected midway</translation>
    </message>
    <message>
        <source>制限時間の %1 秒を過ぎたため、サーバーとの接続を打ち切りました</source>
        <translation>Disconnected from the server: the time limit of %1 seconds passed</translation>
    </message>
    <message>
        <source>サーバーから %1 秒以上応答がありません</source>
        <translation>No reply from the server for over %1 seconds</translation>
    </message>
    <message>
        <source>サーバーとの接続が切れました: %1</source>
        <translation>The connection to the server was lost: %1</translation>
    </message>
    <message>
        <source>サーバーが %1 秒以上受信しません</source>
        <translation>The server has not taken data for over %1 seconds</translation>
    </message>
    <message>
        <source>TLS の受信に失敗しました</source>
        <translation>TLS receive failed</translation>
    </message>
    <message>
        <source>サーバーとの接続が切れました</source>
        <translation>The connection to the server was lost</translation>
    </message>
    <message>
        <source>TLS の送信に失敗しました</source>
        <translation>TLS send failed</translation>
    </message>
</context>
<context>
    <name>brindle::MailboxEditor</name>
    <message>
        <source>メールボックスの変更</source>
        <translation>Change Mailbox</translation>
    </message>
    <message>
        <source>メールボックスの追加</source>
        <translation>Add Mailbox</translation>
    </message>
    <message>
        <source>パスワード</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>ブラウザでサインイン</source>
        <translation>Sign In with Browser</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>名前(&amp;N)</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>サーバー(&amp;S)</source>
        <translation>&amp;Server</translation>
    </message>
    <message>
        <source>ID(&amp;I)</source>
        <translation>&amp;ID</translation>
    </message>
    <message>
        <source>サインイン(&amp;G)</source>
        <translation>Si&amp;gn-in</translation>
    </message>
    <message>
        <source>パスワード(&amp;P)</source>
        <translation>&amp;Password</translation>
    </message>
    <message>
        <source>名前、サーバー、IDを入力してください。</source>
        <translation>Enter a name, a server and an ID.</translation>
    </message>
    <message>
        <source>保存できませんでした。
Shift-JISで書けない文字が含まれているか、長すぎます。</source>
        <translation>This cannot be saved.
It holds a character Shift-JIS cannot write, or it is too long.</translation>
    </message>
    <message>
        <source>パスワードを入力してください。</source>
        <translation>Enter the password.</translation>
    </message>
    <message>
        <source>変更しない場合は空欄</source>
        <translation>Leave empty to keep it</translation>
    </message>
    <message>
        <source>デスクトップのアカウント: %1</source>
        <translation>Desktop account: %1</translation>
    </message>
</context>
<context>
    <name>brindle::MailboxListWindow</name>
    <message>
        <source>メールボックス</source>
        <translation>Mailboxes</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>サーバー</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>メールボックスの一覧</source>
        <translation>List of mailboxes</translation>
    </message>
    <message>
        <source>追加(&amp;A)</source>
        <translation>&amp;Add...</translation>
    </message>
    <message>
        <source>変更(&amp;C)</source>
        <translation>&amp;Change...</translation>
    </message>
    <message>
        <source>削除(&amp;R)</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>上へ(&amp;U)</source>
        <translation>Move &amp;Up</translation>
    </message>
    <message>
        <source>下へ(&amp;D)</source>
        <translation>Move &amp;Down</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>（設定のメールボックス）</source>
        <translation>(mailbox of Settings)</translation>
    </message>
    <message>
        <source>このメールボックスは「設定」で変更します。</source>
        <translation>This mailbox is changed in Settings.</translation>
    </message>
    <message>
        <source>このサーバーとIDのメールボックスはもう一覧にあります。</source>
        <translation>A mailbox with this server and ID is already in the list.</translation>
    </message>
    <message>
        <source>前のアカウントをキーリングから削除できませんでした。
</source>
        <translation>The account before could not be removed from the keyring.
</translation>
    </message>
    <message>
        <source>サインインできませんでした。
</source>
        <translation>Sign-in failed.
</translation>
    </message>
    <message>
        <source>パスワードをキーリングに保存できなかったため、何も保存していません。
</source>
        <translation>The password could not be stored in the keyring, so nothing was saved.
</translation>
    </message>
    <message>
        <source>キーリングから削除できなかったため、メールボックスを残しました。
</source>
        <translation>The mailbox was kept, as it could not be removed from the keyring.
</translation>
    </message>
    <message>
        <source>メールボックスの一覧を保存できませんでした。
Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。</source>
        <translation>The list of mailboxes could not be saved.
It holds a character Shift-JIS cannot write, or the settings file cannot be written.</translation>
    </message>
</context>
<context>
    <name>brindle::Mailer</name>
    <message>
        <source>設定されていません。</source>
        <translation>Not set.</translation>
    </message>
    <message>
        <source>未設定</source>
        <translation>Not set</translation>
    </message>
</context>
<context>
    <name>brindle::MainWindow</name>
    <message>
        <source>新着有りで設定メーラーを起動</source>
        <translation>Start mailer on new mail</translation>
    </message>
    <message>
        <source>インターバルチェック</source>
        <translation>Interval check</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>分</source>
        <translation>m</translation>
    </message>
    <message>
        <source>ON♪</source>
        <translation>ON♪</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>メールチェック</source>
        <translation>Check Mail</translation>
    </message>
    <message>
        <source>起動メーラーの設定</source>
        <translation>Choose Mail Program</translation>
    </message>
    <message>
        <source>タスクトレイに常駐</source>
        <translation>Move to Tray</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>イベント確認</source>
        <translation>Try New-Mail Scene</translation>
    </message>
    <message>
        <source>戻す</source>
        <translation>Back to Normal</translation>
    </message>
    <message>
        <source>常に前面表示</source>
        <translation>Always on Top</translation>
    </message>
    <message>
        <source>前面表示解除</source>
        <translation>Not on Top</translation>
    </message>
    <message>
        <source>作者のホームページ</source>
        <translation>Author&apos;s Home Page</translation>
    </message>
    <message>
        <source>選んだメーラーのパスには、設定ファイル（Shift-JIS）に保存できない文字が含まれているか、パスが長すぎます。今回は使えますが、次回の起動時には前の設定に戻ります。</source>
        <translation>The chosen mail program&apos;s path holds a character the settings file (Shift-JIS) cannot store, or is too long. It is used for now; the next start goes back to the previous one.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>新着メールが有ります</source>
        <translation>You have new mail.</translation>
    </message>
    <message>
        <source>「Quillworks」作者のホームページです。ちょっと見てみますか？</source>
        <translation>This is the home page of Quillworks, the author. Take a look?</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>新着メールで起動するメーラー</source>
        <translation>Mail program started on new mail</translation>
    </message>
    <message>
        <source>チェックの間隔（分）</source>
        <translation>Check interval (minutes)</translation>
    </message>
    <message>
        <source>曲を鳴らす</source>
        <translation>Play tune</translation>
    </message>
    <message>
        <source>曲を止める</source>
        <translation>Stop tune</translation>
    </message>
    <message>
        <source>インターバルチェック: ON</source>
        <translation>Interval check: on</translation>
    </message>
    <message>
        <source>インターバルチェック: OFF</source>
        <translation>Interval check: off</translation>
    </message>
    <message>
        <source>メールボックス</source>
        <translation>Mailboxes</translation>
    </message>
    <message>
        <source>%1: %2通</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: エラー（%2）</source>
        <translation>%1: error (%2)</translation>
    </message>
    <message>
        <source>新着メールを通知</source>
        <translation>Notify of New Mail</translation>
    </message>
</context>
<context>
    <name>brindle::NewMailNotices</name>
    <message>
        <source>新着メールが有ります</source>
        <translation>You have new mail.</translation>
    </message>
    <message>
        <source>(差出人なし)</source>
        <translation>(no sender)</translation>
    </message>
    <message>
        <source>(件名なし)</source>
        <translation>(no subject)</translation>
    </message>
    <message>
        <source>ほか %1 通</source>
        <translation>and %1 more</translation>
    </message>
</context>
<context>
    <name>brindle::NoticeBoard</name>
    <message>
        <source>新着お知らせボード</source>
        <translation>New Mail</translation>
    </message>
    <message>
        <source>新着メールがあります。</source>
        <translation>You have new mail.</translation>
    </message>
    <message>
        <source>新着メールの数</source>
        <translation>New messages</translation>
    </message>
    <message>
        <source>お知らせ</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>brindle::Pop3ReplyReader</name>
    <message>
        <source>サーバーの応答が POP3 の形式ではありません</source>
        <translation>The server&apos;s reply is not POP3</translation>
    </message>
</context>
<context>
    <name>brindle::Pop3Session</name>
    <message>
        <source>サーバーがエラーを返しました: %1</source>
        <translation>The server returned an error: %1</translation>
    </message>
    <message>
        <source>サーバーが示したメールのサイズが正しくありません: %1</source>
        <translation>The server gave a wrong message size: %1</translation>
    </message>
    <message>
        <source>APOP でログインできません: サーバーの挨拶に APOP 用のタイムスタンプがありません</source>
        <translation>Cannot log in with APOP: the server&apos;s greeting has no APOP time stamp</translation>
    </message>
    <message>
        <source>APOP でログインできません: MD5 を計算できません</source>
        <translation>Cannot log in with APOP: MD5 cannot be computed</translation>
    </message>
    <message>
        <source>予期しない応答を受け取りました</source>
        <translation>Received an unexpected reply</translation>
    </message>
    <message>
        <source>サーバーが接続を断りました: %1</source>
        <translation>The server refused the connection: %1</translation>
    </message>
    <message>
        <source>サーバーが暗号化 (STLS) を提供していないため、ログインしませんでした。暗号化しない接続をあえて使う場合は、サーバー名を「pop3://%1」と書いてください。</source>
        <translation>Not logged in: the server offers no encryption (STLS). To use an unencrypted connection anyway, write the server name as &quot;pop3://%1&quot;.</translation>
    </message>
    <message>
        <source>サーバーが TLS への切り替えを断りました: %1</source>
        <translation>The server refused to switch to TLS: %1</translation>
    </message>
    <message>
        <source>TLS の開始前にサーバーが余分なデータを送りました</source>
        <translation>The server sent extra data before TLS started</translation>
    </message>
    <message>
        <source>メールの数を取得できません: %1</source>
        <translation>Cannot get the number of messages: %1</translation>
    </message>
    <message>
        <source>サーバーが示したメールの数が正しくありません: %1</source>
        <translation>The server gave a wrong number of messages: %1</translation>
    </message>
    <message>
        <source>ログインしていません</source>
        <translation>Not logged in</translation>
    </message>
    <message>
        <source>メール番号 %1 はありません</source>
        <translation>There is no message number %1</translation>
    </message>
    <message>
        <source>ログインできません: %1%2</source>
        <translation>Cannot log in: %1%2</translation>
    </message>
    <message>
        <source>サーバーが予期しない続きを求めました</source>
        <translation>The server asked for an unexpected continuation</translation>
    </message>
    <message>
        <source>サーバーの応答が POP3 の形式ではありません</source>
        <translation>The server&apos;s reply is not POP3</translation>
    </message>
    <message>
        <source>サーバーがメールの ID を示しません: %1</source>
        <translation>The server does not list the mail IDs: %1</translation>
    </message>
</context>
<context>
    <name>brindle::SceneAndTune</name>
    <message>
        <source>新着メールの場面</source>
        <translation>New-mail scene</translation>
    </message>
    <message>
        <source>通常の場面</source>
        <translation>Normal scene</translation>
    </message>
</context>
<context>
    <name>brindle::ServerSettingsDialog</name>
    <message>
        <source>サーバー設定</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>SMTPサーバー名(&amp;S)</source>
        <translation>&amp;SMTP server</translation>
    </message>
    <message>
        <source>POP3サーバー名(&amp;P)</source>
        <translation>&amp;POP3 server</translation>
    </message>
    <message>
        <source>メールアドレス(&amp;M)</source>
        <translation>&amp;Mail address</translation>
    </message>
    <message>
        <source>APOP を使用する(&amp;A)</source>
        <translation>Use &amp;APOP</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>サーバー設定を保存できませんでした。
Shift-JISで書けない文字が含まれているか、lunaro.ini に書き込めません。</source>
        <translation>The server settings could not be saved.
They hold a character Shift-JIS cannot write, or lunaro.ini cannot be written.</translation>
    </message>
</context>
<context>
    <name>brindle::SettingsWindow</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ID/PASS</source>
        <translation>ID/PASS</translation>
    </message>
    <message>
        <source>POPサーバー</source>
        <translation>POP Server</translation>
    </message>
    <message>
        <source>新着がなければ接続を切断する。</source>
        <translation>Hang up if no new mail.</translation>
    </message>
    <message>
        <source>インターバルメールチェック</source>
        <translation>Interval Mail Check</translation>
    </message>
    <message>
        <source>０以上の数字を入力すると、その間隔で自動的にメールチェックを行います。チェックの都度手動で行う場合は０にしておいて下さい。（単位は分です。）</source>
        <translation>Mail is checked automatically every this many minutes. Leave it at 0 to check only when you ask.</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>新着お知らせボードを１秒で自動消去させる</source>
        <translation>Close the notice board after 1 second</translation>
    </message>
    <message>
        <source>IDとパスワード</source>
        <translation>ID and password</translation>
    </message>
    <message>
        <source>チェックの間隔（分）</source>
        <translation>Check interval (minutes)</translation>
    </message>
</context>
<context>
    <name>brindle::SignIn</name>
    <message>
        <source>認可サーバーの%1が読めません。</source>
        <translation>Cannot read the authorization server&apos;s %1.</translation>
    </message>
    <message>
        <source>認可サーバーがトークンを出しませんでした (HTTP %1)。</source>
        <translation>The authorization server gave no token (HTTP %1).</translation>
    </message>
    <message>
        <source>認可サーバーの設定情報がありません (HTTP %1)。</source>
        <translation>The authorization server has no configuration (HTTP %1).</translation>
    </message>
    <message>
        <source>認可サーバーにこのプログラムを登録できませんでした。</source>
        <translation>This program could not be registered with the authorization server.</translation>
    </message>
    <message>
        <source>認可サーバー (%1) %2</source>
        <translation>The authorization server (%1) %2</translation>
    </message>
    <message>
        <source>サインインが認められませんでした (%1)。</source>
        <translation>Sign-in was refused (%1).</translation>
    </message>
    <message>
        <source>ブラウザからの応答に認可コードがありません。</source>
        <translation>The browser&apos;s answer has no authorization code.</translation>
    </message>
    <message>
        <source>サインインの応答を受ける準備ができませんでした。</source>
        <translation>Could not get ready to receive the sign-in answer.</translation>
    </message>
    <message>
        <source>Brindle: サインインの応答を受け取りました。このページを閉じて Brindle に戻ってください。</source>
        <translation>Brindle: the sign-in answer has arrived. Close this page and go back to Brindle.</translation>
    </message>
    <message>
        <source>ウェブブラウザを起動できませんでした。</source>
        <translation>The web browser could not be started.</translation>
    </message>
    <message>
        <source>認可サーバーがトークンを出しませんでした (%1)。</source>
        <translation>The authorization server gave no token (%1).</translation>
    </message>
    <message>
        <source>サインインが %1 分以内に終わりませんでした。もう一度お試しください。</source>
        <translation>Sign-in did not finish within %1 minutes. Please try again.</translation>
    </message>
    <message>
        <source>クライアントID</source>
        <translation>Client ID</translation>
    </message>
    <message>
        <source>シークレット (あれば)</source>
        <translation>Secret (if any)</translation>
    </message>
    <message>
        <source>サインインの有効期限が切れたか、取り消されました。
ID/PASS の画面で「ブラウザでサインイン」からもう一度サインインしてください。</source>
        <translation>The sign-in has expired or was revoked.
Sign in again with &quot;Sign In with Browser&quot; in the ID/PASS window.</translation>
    </message>
    <message>
        <source>キーリングが時間内に応答しませんでした。</source>
        <translation>The keyring did not answer in time.</translation>
    </message>
    <message>
        <source>デスクトップのキーリング (Secret Service) が動いていません。
GNOME Keyring などを起動してからもう一度お試しください。</source>
        <translation>The desktop keyring (Secret Service) is not running.
Start GNOME Keyring or another one and try again.</translation>
    </message>
    <message>
        <source>キーリングを使えませんでした: %1</source>
        <translation>The keyring could not be used: %1</translation>
    </message>
    <message>
        <source>POPサーバーの設定が正しくありません。</source>
        <translation>The POP server setting is not valid.</translation>
    </message>
    <message>
        <source>トークン</source>
        <translation>token</translation>
    </message>
    <message>
        <source>の応答が大きすぎます。</source>
        <translation>sent too large a reply.</translation>
    </message>
    <message>
        <source>が時間内に応答しませんでした。</source>
        <translation>did not answer in time.</translation>
    </message>
    <message>
        <source>に接続できませんでした。</source>
        <translation>could not be reached.</translation>
    </message>
    <message>
        <source>が別の場所へ転送しようとしました。</source>
        <translation>tried to redirect elsewhere.</translation>
    </message>
    <message>
        <source>の応答が読めません。</source>
        <translation>sent a reply that cannot be read.</translation>
    </message>
    <message>
        <source>認可サーバーの設定情報が、読み込んだ場所 (%1) のサーバーのものではありません。</source>
        <translation>The authorization server&apos;s settings do not belong to the server they were read from (%1).</translation>
    </message>
    <message>
        <source>認可サーバー (%1) の設定情報が、使えないアドレスか別のサーバーを指しています。</source>
        <translation>The settings of the authorization server (%1) name an address that cannot be used, or another server.</translation>
    </message>
    <message>
        <source>認可サーバー (%1) の設定情報が %2 のサインインページを指しています。Google と Microsoft には、このプログラムに組み込みの設定でのみサインインします。</source>
        <translation>The settings of the authorization server (%1) point to the sign-in page of %2. Google and Microsoft are signed in to only through this program&apos;s own settings.</translation>
    </message>
    <message>
        <source>認可サーバー (%1) が安全なサインイン (PKCE S256) に対応していません。</source>
        <translation>The authorization server (%1) does not offer secure sign-in (PKCE S256).</translation>
    </message>
    <message>
        <source>認可サーバーのアドレス (%1) は使えません。インターネット上の https のアドレスでなければなりません。</source>
        <translation>The authorization server address (%1) cannot be used: it must be an https address on the internet.</translation>
    </message>
    <message>
        <source>ブラウザからの応答が別の認可サーバー (%1) のものです。</source>
        <translation>The browser&apos;s answer comes from another authorization server (%1).</translation>
    </message>
    <message>
        <source>Brindle: このページはサインインを完了しませんでした。</source>
        <translation>Brindle: this page did not complete a sign-in.</translation>
    </message>
    <message>
        <source>Brindle: サインインは完了しませんでした。Brindle に戻ってください。</source>
        <translation>Brindle: the sign-in did not complete. Please return to Brindle.</translation>
    </message>
    <message>
        <source>サインインを更新しています。しばらくしてからもう一度お試しください。</source>
        <translation>The sign-in is being renewed. Please try again shortly.</translation>
    </message>
    <message>
        <source>認可サーバーがトークンを更新しませんでした (%1)。</source>
        <translation>The authorization server did not renew the token (%1).</translation>
    </message>
    <message>
        <source>メールサーバー %2 が、認可サーバー %1 でサインインするよう求めています。
%1 を信頼できる場合だけ続けてください。

ブラウザで %1 のサインインページを開きますか?</source>
        <translation>The mail server %2 asks you to sign in at the authorization server %1.
Go on only if you trust %1.

Open the sign-in page of %1 in your browser?</translation>
    </message>
    <message>
        <source>メールサーバー %2 のサインイン先 %1 に登録したクライアントIDを入力してください。</source>
        <translation>Enter the client ID you registered at %1, where the mail server %2 signs in.</translation>
    </message>
</context>
<context>
    <name>brindle::TrayResidence</name>
    <message>
        <source>メイン画面を表示</source>
        <translation>Show Main Window</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Clicked!</source>
        <translation>Clicked!</translation>
    </message>
    <message>
        <source>このデスクトップにはシステムトレイがないため、ウィンドウはこのまま表示しておきます。GNOME では拡張機能「AppIndicator and KStatusNotifierItem Support」を入れるとトレイが使えます。</source>
        <translation>This desktop has no system tray, so the window stays on the screen. On GNOME, the extension “AppIndicator and KStatusNotifierItem Support” adds one.</translation>
    </message>
    <message>
        <source>新着メール: %1 通</source>
        <translation>New mail: %1</translation>
    </message>
</context>
</TS>
