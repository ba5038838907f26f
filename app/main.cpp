#include "CSentinaxApp.h"

int main(int argc, char** argv) {
    sentinax::CSentinaxApp app(argc, argv);
    app.InitInstance();
    return app.ExitInstance();
}
