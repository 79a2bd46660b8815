# The libFuzzer harnesses, one source file <name>Fuzzer.cpp and one seed corpus
# folder corpus/<name> each.
set(brindle_fuzz_harnesses BearerSasl Pop3ReplyReader ImapReplyReader MailHeaderFields HeaderText MailServerAddress ProfileFile MailboxList Cp932
    AuthorizationServerReplies SceneMessageReader)
