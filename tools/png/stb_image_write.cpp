// The one translation unit that compiles stb_image_write; the tools only write to memory.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
