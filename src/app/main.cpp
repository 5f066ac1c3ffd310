#include "app/Entry.h"

int main(int argc, char** argv) {
    return nolvea::Entry::main(argc, argv);
}
