#pragma once

// Brings a server store of an older layout to version "2.1"; run at start-up before
// LoadServers. A store already at "2.1" is left alone, so it runs once per store.
void ConvertServerStore();
