#include "main_window_fixture.h"

#include <QApplication>
#include <QPushButton>

namespace tarnix::test {

void MainWindowTest::whenMessageBoxShows(const std::function<void(QMessageBox&)>& action)
{
    boxWatch.setInterval(5);
    QObject::connect(&boxWatch, &QTimer::timeout, &boxWatch, [this, action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        boxWatch.stop();
        boxWatch.disconnect();
        seen = {true, box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        action(*box);
    });
    boxWatch.start();
}

void MainWindowTest::answerNextMessageBox(QMessageBox::StandardButton answer)
{
    whenMessageBoxShows([answer](QMessageBox& box) { box.button(answer)->click(); });
}

int MainWindowTest::runLoop(const std::function<void()>& step)
{
    QTimer::singleShot(0, step);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(-1); });
    return QApplication::exec();
}

MessageRecord MainWindowTest::record(const std::string& user, const std::string& file, bool fresh) const
{
    MessageRecord r;
    r.userName = Utf8String(user);
    r.nickName = Utf8String("Nick " + user);
    r.fileName = Utf8String(folder.path() + MainWindow::kMessagesFolder + file);
    r.ringTime = "2026-12-08 07:00:00";
    r.answerTime = "2026-12-08 07:00:15";
    r.duration = "42";
    r.newFlag = fresh;
    return r;
}

}  // namespace tarnix::test
