// Placeholder until the control lands.
