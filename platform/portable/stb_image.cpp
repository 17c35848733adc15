// The one translation unit that compiles stb_image, with only its BMP reader: the game
// decodes nothing else, and a smaller decoder is less to fuzz and to ship to a browser.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#include <stb_image.h>
