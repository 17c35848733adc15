// Reporting a fatal start-up problem, and asking the program to end.
#pragma once

// Shows `message` as text and caption in a modal box, then requests the end.
void ReportError(const char* message);
