// Start-up and shut-down of the foundation modules for the tests, in the
// program's order (shut-down in reverse).
#pragma once

void FoundationStartUp();
void FoundationShutDown();
