#pragma once

// Hands back to the system, a moment from now, the pages that large pieces of
// data just freed left behind: one call for a run of such moments.
void returnFreedPagesSoon();
