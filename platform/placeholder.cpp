// Placeholder until the store lands.
