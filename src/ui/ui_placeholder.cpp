// Shared user-interface components.
