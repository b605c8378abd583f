// Stand-ins for the routines of the core files that the fuzz build leaves out (they still reach the main
// window); no fuzz target calls them.
