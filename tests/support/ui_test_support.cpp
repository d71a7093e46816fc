#include "ui_test_support.h"

#include <QApplication>

#include <memory>

namespace tarnix::test {

void UiTest::SetUpTestSuite()
{
    static int argc = 1;
    static char arg0[] = "ui_test";
    static char* argv[] = {arg0, nullptr};
    // Kept to the end of the process: Qt must not be torn down by static destructors.
    static QApplication* const app = std::make_unique<QApplication>(argc, argv).release();
    Q_UNUSED(app);
}

void UiTest::processQtEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace tarnix::test
