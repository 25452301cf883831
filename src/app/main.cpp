#include "ui/QuillonApplication.h"

int main(int argc, char *argv[])
{
    QuillonApplication app(argc, argv);
    return 0;
}
