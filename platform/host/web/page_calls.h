// The page's side of the web host, in the JavaScript library linked with the game.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {
// Sizes the canvas and starts listening for the first click; 0 when the page has none.
int pb_open_canvas(int width, int height);
// Counts a frame shown, and puts RGBA pixels, row after row, into the canvas's rectangle.
void pb_present(const std::uint8_t* rgba, int x, int y, int width, int height);
// Waits for the page's next animation frame, a hidden page's never; returns its time in ms.
double pb_next_page_frame();
void pb_set_cursor_visible(int visible);
// Hands each raw pointer movement to pb_raw_motion(web, dx, dy) as it happens; 0 where the
// browser has no raw pointer updates.
int pb_watch_raw_motion(void* web);
// Hands the first finger's drags and taps and the page's End control to the game, through
// pb_raw_motion, pb_button and pb_key.
void pb_watch_controls(void* web);
// Starts samples on Web Audio, each channel's `frames` after the one before, stopping the
// sound before; 0 when nothing can play.
int pb_audio_play(const float* samples, std::size_t frames, int channels, int rate);
int pb_audio_playing(int sound);
void pb_audio_stop();
void pb_show_message(const char* text);
int pb_message_showing();
void pb_show_end(int exitCode);
}
