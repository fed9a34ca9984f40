#pragma once

// Twips (1440 to the inch) to pixels at the given dots per inch, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? 720 : -720)) / 1440);
}

// The height in pixels of the form's 8.25 point font at the given dots per inch.
constexpr int FontPixelHeight(int dpi) { return TwipsToPixels(165, dpi); }
