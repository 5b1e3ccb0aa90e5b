#include "CPravikApp.h"
#include "CommandLine.h"

int main(int argc, char *argv[])
{
    if (const int code = CommandLine::answer(argc, argv, stdout, stderr); code >= 0)
        return code;
    CPravikApp *app = AfxGetApp();
    if (!app->InitInstance(argc, argv)) {
        app->ExitInstance();
        return 1;
    }
    return app->Run();
}
