#pragma once

// The data files, by the names the Windows program gave them: a user's files are found by these.
namespace DataFileNames {

inline constexpr char records[] = "Sitewarden2.dta";
inline constexpr char emails[] = "Email.dta";
inline constexpr char defaultUserId[] = "default.dta";
inline constexpr const char* all[] = {records, emails, defaultUserId};

} // namespace DataFileNames
