#include "CPravikApp.h"

int main(int argc, char *argv[])
{
    CPravikApp *app = AfxGetApp();
    if (!app->InitInstance(argc, argv)) {
        app->ExitInstance();
        return 1;
    }
    return app->Run();
}
