#pragma once

class QAction;
class QToolBar;

namespace tarnix {

class Window;

// The main window's toolbar (control 1999): two check buttons for voice and text answering,
// then play/stop, delete, make call and send instant message. The command ids live on the
// actions: a dialog control may carry the same number.
class MainToolbar {
public:
    static constexpr int kControlId = 1999;
    static constexpr int kCommandMakeCall = 2003;
    static constexpr int kCommandSendIm = 2004;
    static constexpr int kCommandDelete = 2005;
    static constexpr int kCommandPlay = 2006;
    static constexpr int kCommandVoiceAnswering = 2007;
    static constexpr int kCommandTextAnswering = 2008;

    // Fills the toolbar; its actions send their commands to the owner.
    MainToolbar(QToolBar& bar, Window& owner);

    void setVoiceAnswering(bool on);
    void setTextAnswering(bool on);
    // Image 5 and tooltip "Stop" while a message plays; image 6 and "Play" otherwise.
    void setPlaying(bool playing);

    // Null for an id the toolbar does not have.
    QAction* action(int command) const;
    // The toolbar image an action shows now.
    static int imageOf(const QAction& action);

private:
    void setCheckButton(int command, bool on, int image, const char* text);

    QToolBar& bar_;
};

}  // namespace tarnix
