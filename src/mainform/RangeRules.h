#pragma once

#include <QString>

// The rules of the preview's seek times, the range bar and the time boxes, without widgets.

// Range bar geometry: the handles are W wide and the track between their rest positions is L
// long; the end handle rests at 144 whatever the panel's width.
constexpr int RangeHandleWidth = 10;
constexpr int RangeTrackLength = 134;
constexpr int RangeEndRest = 144;

// low when high < low, else v limited to low .. high.
int ClampRange(int v, int low, int high);

// Handle positions for start and end fractions of a clip's length, rounded to the pixel and
// kept on the track.
int RangeLeftFor(float startFraction);
int RangeRightFor(float endFraction);

// The fractions the handles stand for, as 32-bit floats: the times they give depend on the
// float's rounding (on a clip of 134 s the start handle at 2 px gives 1 s, not 2).
float StartFractionAt(int startLeft);
float EndFractionAt(int endLeft);
// duration x fraction, cut toward zero to whole seconds.
int TimeAtFraction(int duration, float fraction);

// Where a dragged part goes for a wanted left x: the start handle stops at the end handle,
// the end handle at the start handle and the track's end, and the range bar (which keeps its
// width) where one of its handles meets an end of the track.
int DraggedStartLeft(int x, int endLeft);
int DraggedEndLeft(int x, int startLeft, int trackWidth, int endHandleWidth);
int DraggedStretchLeft(int x, int trackWidth, int endHandleWidth, int stretchWidth);

// The position the preview seeks for a position t: 10 s earlier inside the last 10 s of the
// clip, and never before second 1.
int SeekTimeFor(int t, int duration);

// A time box read position by position: hour digits at 1-2, minutes at 4-5, seconds at 7-8;
// anything that is not a digit counts as 0, and minutes or seconds above 59 count as they are.
int TimeBoxValue(const QString &text);

// Whether a typed start or end breaks the clip's range (the box is then shown red).
bool StartTimeInvalid(int value, int endTime);
bool EndTimeInvalid(int value, int startTime, int duration);
