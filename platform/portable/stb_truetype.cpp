// The one translation unit that compiles stb_truetype, which rasterises the embedded face.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
