#pragma once

#include <string>
#include <sys/types.h>

// An Xvfb of its own with one screen of the given geometry ("3840x2160x24"), set as DISPLAY
// (and Qt's platform set to xcb) while it lives.
class PrivateXServer {
public:
    explicit PrivateXServer(const std::string &geometry);
    PrivateXServer(const PrivateXServer &) = delete;
    PrivateXServer &operator=(const PrivateXServer &) = delete;
    ~PrivateXServer();

    bool running() const { return m_pid > 0; }

private:
    pid_t m_pid = -1;
};

// Runs `bench` once for each screen size, each in a process of its own on a private X server,
// so that each has one Qt application on one screen. Returns non-zero if any run failed.
int forEachScreen(int argc, char **argv,
                  int (*bench)(int argc, char **argv, int width, int height));
