// Keeps the support libraries non-empty before any helper exists.
