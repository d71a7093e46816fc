#include "program/application.h"

#include "config/program_environment.h"
#include "platform/linux/alsa/alsa_audio_ports.h"
#include "program/program_log.h"
#include "ui/framework/accelerator_filter.h"

#include <QApplication>

namespace tarnix {
namespace {

// The program's accelerators: Alt+? and Alt+/ open About.
std::vector<Accelerator> mainAccelerators()
{
    return {{u'?', MainWindow::kCommandAbout}, {u'/', MainWindow::kCommandAbout}};
}

}  // namespace

Application::Application(ProgramEnvironment& environment)
    : signals_(loop_, [this](int) { mainWindow_.EndSession(); }),
      config_(settings_, locale_, environment),
      waveDevices_(makeAlsaWaveDevices(loop_, [this] { phone_.OnSoundDevicesChanged(); })),
      mixers_(makeAlsaMixerPort()),
      players_(*waveDevices_),
      messageFolder_(environment.messagesFolder()),
      answerRoute_(*waveDevices_, players_.greetingPlayer(), messageFolder_),
      hidBus_(loop_),
      lockFile_(LockFileInstanceMarker::defaultPath()),
      // The handset layer and the clients are made after the window and the phone controller,
      // which ask them nothing before Initialise.
      mainWindow_(loop_, {config_, settings_, locale_, environment, handsets_, qq_, skype_, messagePlayback_,
                          &dialogs_, [this] { answerer_.finishBeforeExit(); }}),
      instance_(lockFile_),
      phone_({handsets_, mainWindow_, skype_, qq_, keys_, *waveDevices_, defaultDeviceMover_}),
      handsets_(loop_, hidBus_, errors_, pstn_, clock_),
      skypeWindows_(windowSystem_, [this] { return transport_.peerProcess(skype_.apiWindow()); }),
      volumePopup_(loop_, handsets_.channel(), *mixers_),
      speaker_(volumePopup_),
      answerer_({loop_, callClock_, settings_, config_, mainWindow_, skype_, answerRoute_, messageFolder_}),
      skype_({loop_, transport_, phone_, handsets_.channel(), mainWindow_, settings_, callClock_,
              skypeWindows_, speaker_, &answerer_}),
      qq_(callClock_, settings_, mainWindow_),
      dialogs_(loop_, handsets_, settings_, locale_,
               {phone_, handsets_.channel(), *waveDevices_, environment, errors_, handsetTestMemory_})
{
}

Application::~Application() = default;

int Application::Initialise(bool showWindow)
{
    if (instance_.claim() == InstanceClaim::AnotherRuns) return 0;
    if (!transport_.open()) qCInfo(lcProgram, "no session bus: the messenger cannot be reached");
    skype_.create();
    mainWindow_.CreateMainWindow();
    if (!commands_.start()) qCInfo(lcProgram, "no session bus: other programs cannot send window commands");
    phone_.StartController();
    // The tray and the status bar from the messenger's state.
    skype_.onAttachChanged();
    if (showWindow) mainWindow_.BringToFront();
    qCInfo(lcProgram, "running; %s", phone_.presence() == 0 ? "a handset is present" : "no handset");
    return 1;
}

int Application::Run()
{
    AcceleratorFilter accelerators(mainAccelerators());
    QCoreApplication::instance()->installEventFilter(&accelerators);
    const int code = QApplication::exec();
    QCoreApplication::instance()->removeEventFilter(&accelerators);
    return code;
}

}  // namespace tarnix
