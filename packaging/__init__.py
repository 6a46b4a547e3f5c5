"""The release package: its scripts, the MSI sources, the registration harvest
and the PE and registry readers the package tests share."""
