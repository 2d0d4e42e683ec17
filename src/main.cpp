// Tallybrook Control: the window.

#include "ui/shell/AppLaunch.h"

int main(int argc, char** argv) {
    return tallybrook::runApplication(argc, argv);
}
