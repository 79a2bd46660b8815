#pragma once

namespace brindle {

// A standing watch on a mailbox that says when new mail arrives; it ends when
// destroyed.
class MailWatch {
public:
    virtual ~MailWatch() = default;
};

} // namespace brindle
