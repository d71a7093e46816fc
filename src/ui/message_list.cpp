#include "ui/message_list.h"

#include "ui/framework/control_id.h"
#include "ui/program_icons.h"

#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>
#include <iterator>

namespace tarnix {
namespace {

// Not localised: the list speaks the answering machine's language.
const char* const kHeaders[] = {"姓名", "全称", "来电时间", "答录时间", "录音时长"};
constexpr int kColumns = static_cast<int>(std::size(kHeaders));
constexpr int kRingTimeColumn = 2;
constexpr int kAnswerTimeColumn = 3;
constexpr int kCellPadding = 16;

QString text(const Utf8String& utf8)
{
    return QString::fromUtf8(utf8.view().data(), static_cast<qsizetype>(utf8.length()));
}

}  // namespace

MessageList::MessageList(QTreeWidget& view) : view_(view)
{
    setControlId(view_, kControlId);
    view_.setRootIsDecorated(false);
    view_.setUniformRowHeights(true);
    view_.setSelectionMode(QAbstractItemView::SingleSelection);
    view_.setSelectionBehavior(QAbstractItemView::SelectRows);
    view_.setIconSize(QSize(16, 16));
    view_.setColumnCount(kColumns);
    QStringList headers;
    for (const char* header : kHeaders) headers << QString::fromUtf8(header);
    view_.setHeaderLabels(headers);
    view_.header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The times are wider than the fixed width in most fonts, in bold more so; a cut time would
    // be unreadable.
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int timeWidth =
        QFontMetrics(bold).horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + kCellPadding;
    for (int column = 0; column < kColumns; ++column) {
        const bool time = column == kRingTimeColumn || column == kAnswerTimeColumn;
        view_.setColumnWidth(column, time ? std::max(kColumnWidth, timeWidth) : kColumnWidth);
    }
}

void MessageList::fill(const RecordList& records)
{
    view_.clear();
    rows_.clear();
    for (std::size_t i = 0; i < records.size(); ++i) AddRecordItem(static_cast<int>(i), records[i]);
}

bool MessageList::AddRecordItem(int index, const MessageRecord& record)
{
    const int at = std::clamp(index, 0, count());
    auto* item =
        new QTreeWidgetItem(QStringList{text(record.userName), text(record.nickName), text(record.ringTime),
                                        text(record.answerTime), text(record.duration)});
    view_.insertTopLevelItem(at, item);  // the view owns the item from here
    rows_.insert(rows_.begin() + at, record);
    showFlag(at);
    return true;
}

void MessageList::removeRow(int row)
{
    if (row < 0 || row >= count()) return;
    delete view_.takeTopLevelItem(row);
    rows_.erase(rows_.begin() + row);
}

void MessageList::markPlayed(int row)
{
    if (row < 0 || row >= count()) return;
    rows_[static_cast<std::size_t>(row)].newFlag = false;
    showFlag(row);
}

int MessageList::totalColumnWidth() const
{
    int width = 0;
    for (int column = 0; column < kColumns; ++column) width += view_.columnWidth(column);
    return width;
}

int MessageList::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = view_.selectedItems();
    QTreeWidgetItem* item = selected.isEmpty() ? view_.currentItem() : selected.front();
    return item ? view_.indexOfTopLevelItem(item) : -1;
}

void MessageList::showFlag(int row)
{
    QTreeWidgetItem* item = view_.topLevelItem(row);
    const bool fresh = rows_[static_cast<std::size_t>(row)].newFlag;
    item->setIcon(0, recordIcon(fresh ? kImageNew : kImagePlayed));
    QFont font = QApplication::font();
    font.setBold(fresh);
    for (int column = 0; column < kColumns; ++column) item->setFont(column, font);
}

}  // namespace tarnix
