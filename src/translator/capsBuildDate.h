// When this module was built, as the capability description states it:
// "Mmm dd yyyy" (a blank before a one-digit day) and "hh:mm:ss".
#pragma once

const char* capsBuildDate();
const char* capsBuildTime();
