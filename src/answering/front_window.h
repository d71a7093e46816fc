#pragma once

namespace tarnix {

struct MessageRecord;

// The program's main window, as far as the answering machine raises it and lists its messages.
class FrontWindow {
public:
    virtual ~FrontWindow() = default;
    // Shows the window and makes it the foreground window.
    virtual void BringToFront() = 0;
    // Inserts the row of a record at the index it has in the record list (the caller has put
    // it there); the window keeps its own copy.
    virtual void AddRecordItem(int index, const MessageRecord& record) = 0;
};

}  // namespace tarnix
