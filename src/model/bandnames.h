#pragma once

#include <QString>

#include <optional>

// The ten bands by name. The window's captions are "160 м" … "10 м" and "Д" (the additional
// band); programs and files name them "160m" … "10m" and "ext".
namespace BandNames {

// "160 м" … "Д", as the band frame shows them, in the window's language ("40 m", "Ext").
QString caption(int band);
// "160m" … "10m", "ext".
QString key(int band);

// "антенна 2, 40 м, 3": a slot as the operator reads it off the window.
QString slotText(int antenna, int band, int subBand);

// A band from any of its names, ignoring case and spaces, with the Latin "m" for "м":
// "40 м", "40m", "40 M", "Д", "ext", "Ext", "extra"; when numbers are allowed also its
// wavelength alone ("40") or its place 1–10 where that is no wavelength ("10" is 10 m).
std::optional<int> find(const QString &name, bool numbers = false);

} // namespace BandNames
