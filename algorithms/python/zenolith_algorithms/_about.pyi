"""Build facts of zenolith_algorithms (use zenolith_algorithms instead)."""

def library_version() -> str:
    """The version of the geometry library (CGAL) the algorithm families were
    compiled against, such as ``'5.5.1'``."""
