// The start-up anchor: an empty Qt window, in a program that links Qt Widgets and nothing else,
// so that no library of ours (the engine, libsodium) is loaded or set up in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(400, 300);
    window.show();
    return QApplication::exec();
}
