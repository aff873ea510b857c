#include "app/qt/entry.h"

int main(int argc, char* argv[]) { return movarek::runProgram(argc, argv); }
