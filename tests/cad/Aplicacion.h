#pragma once

#include <QGuiApplication>

// Fonts need a GUI application; the tests share one for the whole run.
inline void AsegurarAplicacion() {
    static int argc = 1;
    static char nombre[] = "test_cad";
    static char* argv[] = {nombre, nullptr};
    static QGuiApplication* app =
        QGuiApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)app;
}
