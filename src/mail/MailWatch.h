#pragma once

namespace brindle {

// A standing watch on a mailbox that says when new mail arrives; it ends when
// destroyed.
class MailWatch {
public:
    virtual ~MailWatch() = default;
    // True once it has ended because the account's access token could not
    // be had (a refused refresh): a watch made anew is needed, once a check
    // has logged in again.
    virtual bool lostAccess() const { return false; }
};

} // namespace brindle
