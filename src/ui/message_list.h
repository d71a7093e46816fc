#pragma once

#include "config/message_record.h"

#include <vector>

class QTreeWidget;

namespace tarnix {

// The list of recorded messages (control 1032): one row per record of the record list, in its
// order, each holding its own copy of the record. New messages show in bold with image 0,
// played ones with image 1.
class MessageList {
public:
    static constexpr int kControlId = 1032;
    // Each column's width; the two time columns are as wide as a time if that is wider.
    static constexpr int kColumnWidth = 100;
    static constexpr int kImageNew = 0;
    static constexpr int kImagePlayed = 1;

    // Sets the view up: full-row selection, the images, and the five fixed column headers.
    explicit MessageList(QTreeWidget& view);

    // Deletes all rows, then adds every record in order.
    void fill(const RecordList& records);
    // Inserts the record's row at index (held to the rows there are). False when it is not
    // there afterwards.
    bool AddRecordItem(int index, const MessageRecord& record);
    void removeRow(int row);
    // The row's copy turns played: image 1, normal weight.
    void markPlayed(int row);

    int count() const { return static_cast<int>(rows_.size()); }
    int totalColumnWidth() const;
    const MessageRecord& record(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    // The first selected row, else the row with the focus; -1 when there is none.
    int selectedRow() const;

private:
    void showFlag(int row);

    QTreeWidget& view_;
    std::vector<MessageRecord> rows_;
};

}  // namespace tarnix
