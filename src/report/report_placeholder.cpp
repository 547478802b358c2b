// The report engine.
