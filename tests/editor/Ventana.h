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

// The main window on the test catalogue, whose symbols give every element a
// box to hit; shown (offscreen) so that its layout is real.
class Ventana : public ::testing::Test {
protected:
    void SetUp() override {
        Aplicacion();
        Mensajes.clear();
        ventix::TAplicacion::MostrarError = [this](const QString& m) { Mensajes << m; };
        F = std::make_unique<ventix::TfrmMain>(
            std::filesystem::u8path(VENTIX_TEST_DATA "/catalogo-simbolos/LIBRERÍA.txt"));
        F->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        F.reset();
        ventix::TAplicacion::MostrarError = nullptr;
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
    std::vector<QFrame*> Cinta() const { return F->PanelesVisibles(); }
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
    QStringList Mensajes;
};
