#include "app/application.h"

namespace {
ApplicationClass application;
}

int main(int argc, char** argv) {
    return application.Start(argc, argv);
}
