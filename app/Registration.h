#pragma once

// The program's class registration: every class its form descriptions name,
// and every class those forms build at run time.
void RegisterQuorvelClasses();
