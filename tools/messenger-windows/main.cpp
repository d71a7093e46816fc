// Shows the messenger's windows on $DISPLAY, driven by commands on standard input, one a line:
//   form <options> <title>   a main form; options: l (login control), e (entry box), - (neither)
//   popup <title>            a pop-up owned by the last form
//   text <text>              sets the entry box's text
//   iconify|hide|destroy 0x<window>
// Answers "form 0x<window>" and "popup 0x<window>", and the reports of MessengerWindowsSim.
// Ends when standard input ends; exit status 2 without a display.
#include "messenger_windows_sim.h"

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

namespace {

void say(const std::string& line)
{
    std::cout << line << std::endl;
}

std::string hex(unsigned long window)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
}

void run(tarnix::MessengerWindowsSim& sim, const std::string& line, unsigned long& lastForm)
{
    std::istringstream words(line);
    std::string command;
    words >> command;
    std::string rest;
    std::getline(words >> std::ws, rest);
    if (command == "form") {
        std::istringstream parts(rest);
        std::string options;
        parts >> options;
        std::string title;
        std::getline(parts >> std::ws, title);
        lastForm = sim.showMainForm(title, options.find('l') != std::string::npos,
                                    options.find('e') != std::string::npos);
        say("form " + hex(lastForm));
    } else if (command == "popup") {
        say("popup " + hex(sim.showPopup(lastForm, rest)));
    } else if (command == "text") {
        sim.setEntryText(rest);
    } else if (command == "iconify" || command == "hide" || command == "destroy") {
        const unsigned long window = std::stoul(rest, nullptr, 16);
        if (command == "iconify") {
            sim.iconify(window);
        } else if (command == "hide") {
            sim.hide(window);
        } else {
            sim.destroy(window);
        }
        say("done " + command);
    } else if (!command.empty()) {
        say("unknown " + command);
    }
}

}  // namespace

int main()
{
    tarnix::MessengerWindowsSim sim(nullptr, say);
    if (!sim.available()) {
        std::cerr << "messenger-windows-sim: no X display\n";
        return 2;
    }
    unsigned long lastForm = 0;
    std::string pending;
    for (;;) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {sim.connectionFd(), POLLIN, 0}};
        sim.processEvents();
        if (::poll(fds, 2, -1) < 0) {
            return 1;
        }
        if (fds[1].revents & (POLLERR | POLLHUP)) {
            return 1;
        }
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            char buffer[512];
            const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) {
                return 0;
            }
            pending.append(buffer, static_cast<std::size_t>(got));
            for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
                run(sim, pending.substr(0, end), lastForm);
                pending.erase(0, end + 1);
            }
        }
    }
}
