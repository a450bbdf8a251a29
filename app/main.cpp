#include "app/shell.h"
#include "ui/window_layer.h"

int main(int argc, char** argv) {
    smsdock::RunWindowLayerProgram(argc, argv, [] { return smsdock::StartRoutine(); });
}
