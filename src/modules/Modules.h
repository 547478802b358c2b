#pragma once
// Registers every module window that is built into this program.
void registerModules();
