// Writes the program icon as PNGs into a hicolor theme folder, at build time.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "ui/icons.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: aes-marnoq-icons ZIELORDNER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QString("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + "/aes-marnoq.png";
        if (!QDir().mkpath(folder) ||
            !marnoq::ui::drawPicture(marnoq::ui::Picture::Locked, size).save(file, "PNG")) {
            std::fprintf(stderr, "Kann %s nicht schreiben.\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
