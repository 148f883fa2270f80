"""The drawing writer: drawing files (.LKD) of the current and the older format from a JSON
description, damaged variants of them, and the entity dump the program must show for them."""
