#include "app/application.h"

int main(int argc, char** argv) {
    // Local, not static: should anything call exit() beneath the message loop, the windows are
    // not destroyed under it by the static destructors.
    ApplicationClass application;
    return application.Start(argc, argv);
}
