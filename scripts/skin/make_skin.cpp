// Draws every picture of the Skin folder into the folder named on the command line.
// scripts/make-skin.sh builds and runs it.
#include <cstdio>

#include <QGuiApplication>

#include "skin_paint.h"

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    skin::g_outputDirectory = QString::fromLocal8Bit(argv[1]);
    skin::MakeWindowPictures();
    skin::MakeControlPictures();
    skin::MakeListPictures();
    skin::MakeHelpPictures();
    return 0;
}
