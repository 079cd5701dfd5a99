// What Stampkeep says of its makers and its licence, in the About box and in the version block alike.
#pragma once

namespace projectnotice {

constexpr const char* kDevelopers = "The Stampkeep developers";
constexpr const char* kCopyright = "Copyright \u00A9 2026 The Stampkeep developers";
constexpr const char* kLicence = "Free software under the GNU GPL 3.0 or later, with ABSOLUTELY NO WARRANTY.";
// The licence's text where Debian and its derivatives keep it, and on the web for every other system.
constexpr const char* kLicenceFile = "/usr/share/common-licenses/GPL-3";
constexpr const char* kLicenceAddress = "https://www.gnu.org/licenses/gpl-3.0.html";

} // namespace projectnotice
