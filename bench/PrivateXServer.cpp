#include "PrivateXServer.h"

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

PrivateXServer::PrivateXServer(const std::string &geometry)
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    m_pid = fork();
    if (m_pid == 0) {
        // -displayfd: the server picks a free display and writes its number to the pipe.
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry.c_str(),
               "-nolisten", "tcp", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string display;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        display += c;
    close(fds[0]);
    if (display.empty()) {
        m_pid = -1;
        return;
    }
    setenv("DISPLAY", (":" + display).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
}

PrivateXServer::~PrivateXServer()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

int forEachScreen(int argc, char **argv, int (*bench)(int argc, char **argv, int width, int height))
{
    int result = 0;
    for (const auto &[width, height] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
        const pid_t child = fork();
        if (child == 0) {
            int code = 1;
            {
                PrivateXServer server(std::to_string(width) + "x" + std::to_string(height) + "x24");
                if (server.running())
                    code = bench(argc, argv, width, height);
            }
            _exit(code);
        }
        int status = 0;
        waitpid(child, &status, 0);
        result |= WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    return result;
}
