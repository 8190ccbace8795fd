#pragma once

#include "circuit/AerConexion.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "editor/Aplicacion.h"
#include "editor/FormMain.h"

#include <gtest/gtest.h>

#include "editor/Lienzo.h"
#include "editor/PanelCinta.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <memory>

// One application for the whole run: the editor's own, so that exceptions
// thrown by handlers go through its boundary.
inline ventix::TAplicacion& Aplicacion() {
    static int argc = 1;
    static char nombre[] = "test_editor";
    static char* argv[] = {nombre, nullptr};
    static auto* app = new ventix::TAplicacion(argc, argv);
    return *app;
}

// The application made before any widget of the test, and the messages of
// its error box kept in Mensajes.
class ConMensajes : public ::testing::Test {
protected:
    ConMensajes() {
        Aplicacion();
        ventix::TAplicacion::MostrarError = [this](const QString& m) { Mensajes << m; };
    }
    ~ConMensajes() override { ventix::TAplicacion::MostrarError = nullptr; }
    QStringList Mensajes;
};

// The main window on the test catalogue, whose symbols give every element a
// box to hit; shown (offscreen) so that its layout is real.
class Ventana : public ConMensajes {
protected:
    void SetUp() override { Abrir(VENTIX_TEST_DATA "/catalogo-simbolos/LIBRERÍA.txt"); }
    void Abrir(const char* Catalogo, QSize Tamano = {}) {
        F = std::make_unique<ventix::TfrmMain>(std::filesystem::u8path(Catalogo));
        if (Tamano.isValid())
            F->resize(Tamano);
        F->show();
        QApplication::processEvents();
    }
    ventix::TAerPaintBox& L() { return *F->Lienzo; }
    // Clicks an element as the canvas does: the window decides.
    bool Elegir(ventix::TAerComponente* e) {
        L().Deseleccionar();
        bool Aceptar = true;
        F->AlSeleccionar(e, Aceptar);
        if (e && Aceptar)
            L().Seleccionar(e);
        return Aceptar;
    }
    // The mouse moved to a point of the world and clicked there.
    void Clic(double x, double y) {
        const QPoint p = L().MundoAPantalla({x, y}).toPoint();
        ASSERT_TRUE(F->PB->rect().contains(p)) << x << ", " << y;
        QTest::mouseMove(F->PB, p);
        QTest::mouseClick(F->PB, Qt::LeftButton, Qt::NoModifier, p);
    }
    // A component of the type given at (X, Y).
    ventix::TAerComponente* Nuevo(ventix::TTipoComponente t, double X = 0, double Y = 0) {
        auto* c = ventix::TAerComponente::Crear(L(), t);
        c->X = X;
        c->Y = Y;
        return c;
    }
    using Paneles = std::vector<QFrame*>;
    Paneles Cinta() const { return F->PanelesVisibles(); }
    ventix::TAerValvula* Valvula(ventix::TActuador a, bool Monoestable = true,
                                 ventix::TTipoComponente t = ventix::TTipoComponente::Valvula32NC) {
        return ventix::TAerValvula::Crear(L(), Monoestable, a, t);
    }
    ventix::TAerTubo* Unir(ventix::TAerConexion* a, ventix::TAerConexion* b) {
        auto* t = ventix::TAerTubo::Crear(L());
        t->SetInicio(a);
        t->SetFin(b);
        t->AnadirVertice({b->XMundo, b->YMundo});
        return t;
    }
    std::unique_ptr<ventix::TfrmMain> F;
};
