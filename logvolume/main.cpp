// logvolume: the volume of a round log. Its screens come with the line editor.
#include "textscreen/textscreen.h"

int main(int argc, char** argv) {
  textscreen::layer_init(argc, argv);
  textscreen::layer_end(0);
}
