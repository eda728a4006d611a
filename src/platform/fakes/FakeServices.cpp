// The in-memory services of the tests, gathered in one place.
