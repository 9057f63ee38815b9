// Placeholder until the runtime lands.
