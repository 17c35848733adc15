// The page's side of the web host, in the JavaScript library linked with the game.
#pragma once

#include <cstddef>
#include <cstdint>

// What pb_open_canvas found to draw with.
constexpr int kNoCanvas = 0;
constexpr int kCanvas2d = 1;
constexpr int kCanvasGpu = 2;

extern "C" {
// Sizes the canvas, draws on it with WebGL where the browser has it (and the page's address
// does not ask for 2D) or else 2D, and starts listening for the first click.
int pb_open_canvas(int width, int height);
// 2D: counts a frame shown, and puts RGBA pixels, row after row, into the canvas's rectangle.
void pb_present(const std::uint8_t* rgba, int x, int y, int width, int height);
// WebGL: whether the texture needs every row again (new, or its context was lost).
int pb_gpu_wants_whole();
// WebGL: puts `height` rows of RGB565 pixels, `pitch` pixels apart, into the texture from row y.
void pb_gpu_upload(const std::uint16_t* rows, int y, int width, int height, int pitch);
// WebGL: counts a frame shown, and draws the texture if a row changed since it was last drawn.
void pb_gpu_present();
// Waits for the page's next animation frame, a hidden or paused page's never; returns its
// time in ms.
double pb_next_page_frame();
void pb_set_cursor_visible(int visible);
// Hands each raw pointer movement to pb_raw_motion(web, dx, dy) as it happens; 0 where the
// browser has no raw pointer updates.
int pb_watch_raw_motion(void* web);
// Hands every touch, the page's End control and, each animation frame, the first gamepad to the
// game, through pb_touch, pb_end_game and pb_pad.
void pb_watch_controls(void* web);
// Starts samples on Web Audio, each channel's `frames` after the one before, stopping the
// sound before; 0 when nothing can play.
int pb_audio_play(const float* samples, std::size_t frames, int channels, int rate);
int pb_audio_playing(int sound);
void pb_audio_stop();
void pb_show_message(const char* text, const char* caption);
int pb_message_showing();
// The title the game gives its window, for the page's tab.
void pb_set_title(const char* title);
// The lines of text the game drew in a frame, one a line, whenever they change.
void pb_heads_up(const char* lines);
// Takes this game's listeners away and offers another game in the same page.
void pb_show_end(int exitCode);
}
