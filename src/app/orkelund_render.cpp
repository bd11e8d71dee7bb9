// orkelund-render: headless rendering of movie files (see shell/render_cli.h).
#include "shell/render_cli.h"

int main(int argc, char** argv) { return ork::RenderMain(argc, argv); }
