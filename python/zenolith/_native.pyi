# The native loops behind zenolith's public functions; typed loosely on
# purpose: the public modules carry the precise signatures and the prose.
from typing import Any

def __getattr__(name: str) -> Any: ...
