// Entry point of the fault drills. The same executable is also the child process some drills
// start: `--save-progress PREFERENCES ROWS FIRST` saves correction progress until it is killed;
// any other command line runs the drills (under an offscreen GUI application, for the fonts of
// the label sheets).

#include "DrillSupport.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    if (argc == 5 && QByteArrayView(argv[1]) == "--save-progress") {
        return tallybrook::drills::saveProgressUntilKilled(QString::fromLocal8Bit(argv[2]),
                                                           QByteArray(argv[3]).toLongLong(),
                                                           QByteArray(argv[4]).toLongLong());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
