#include "CommandLine.h"

#include <algorithm>
#include <cstring>

namespace {

const char kUsage[] = "Usage: ondrava [OPTION]... [FILE]\n";
const char kHelp[] =
    "Capture the screen with global hotkeys and edit the picture: Ctrl+Shift+0 takes a region,\n"
    "Ctrl+Shift+9 the foreground window, Ctrl+Shift+8 the whole desktop. FILE, when given, is\n"
    "opened as the picture (BMP, JPEG, GIF, PNG or TIFF).\n"
    "\n"
    "  -h, --help     display this help and exit\n"
    "      --version  output version information and exit\n";

} // namespace

int CommandLine::answer(int &argc, char **argv, std::FILE *out, std::FILE *err)
{
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
        if (std::strcmp(argument, "--") == 0) {
            std::copy(argv + i + 1, argv + argc + 1, argv + i);
            --argc;
            return -1;
        }
        if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0) {
            std::fprintf(out, "%s%s", kUsage, kHelp);
            return 0;
        }
        if (std::strcmp(argument, "--version") == 0) {
            std::fprintf(out, "ondrava %s\n", ONDRAVA_VERSION);
            return 0;
        }
        if (argument[0] == '-' && argument[1] != '\0') {
            std::fprintf(err, "ondrava: unrecognized option '%s'\n%s", argument, kUsage);
            return 2;
        }
    }
    return -1;
}
